#pragma once
// "CRASH.DMP": a minidump of the crashed process written by the crash
// handler without allocating. Streams: system information, the crashing
// thread with its context and stack, the loaded modules with their build
// IDs, the memory around the stack and the instruction pointer, the
// exception (the signal, its si_code, the fault address and the report's
// code), and /proc/self/maps, /proc/self/status and /proc/cpuinfo.

#include <cstdint>

#include "client/diag/CrashReport.h"
#include "client/diag/MinidumpFormat.h"

namespace tessaly {

struct DumpFacts {
    const CrashStartInfo* start = nullptr;
    const CrashFacts* crash = nullptr;
    const ModuleTable* modules = nullptr;
    const minidump::ContextAmd64* context = nullptr;
    std::uint32_t threadId = 0;
    std::uint32_t kernelVersion[3] = {0, 0, 0};
    const char* kernelText = "";   // the kernel's full version text
};

// At most this much of the crashing thread's stack goes into the dump.
inline constexpr std::uint64_t kDumpStackMax = 256 * 1024;

// Writes the dump to fd (opened for writing, empty); false when a write failed.
bool writeMinidump(int fd, const DumpFacts& facts);

} // namespace tessaly
