#pragma once
// "CRASH.DMP": a minidump of the crashed process written by the crash
// handler without allocating. Streams: system information, the crashing
// thread and the others that could be stopped, with their registers and
// stacks, the loaded modules with their build IDs, the code around the
// instruction pointer, the exception (the signal, its si_code, the fault
// address and the report's code), and /proc/self/maps, /proc/self/status
// and /proc/cpuinfo. No heap: the registers and the stacks' words pass
// through the MemoryMap's rule, so no text of the user's is in the dump.

#include <cstddef>
#include <cstdint>

#include "client/diag/CrashReport.h"
#include "client/diag/MemoryMap.h"
#include "client/diag/MinidumpFormat.h"

namespace tessaly {

// A thread of the dump: its id and its registers.
struct DumpThread {
    std::uint32_t id = 0;
    const minidump::ContextAmd64* context = nullptr;
};

struct DumpFacts {
    const CrashStartInfo* start = nullptr;
    const CrashFacts* crash = nullptr;
    const ModuleTable* modules = nullptr;
    const MemoryMap* memory = nullptr;
    const DumpThread* threads = nullptr;   // the crashing thread first
    std::size_t threadCount = 0;
    std::uint32_t kernelVersion[3] = {0, 0, 0};
    const char* kernelText = "";   // the kernel's full version text
};

// At most this much of the crashing thread's stack goes into the dump, and
// of each other thread's; at most this many threads.
inline constexpr std::uint64_t kDumpStackMax = 256 * 1024;
inline constexpr std::uint64_t kDumpOtherStackMax = 64 * 1024;
inline constexpr std::size_t kDumpThreadsMax = 64;

// Writes the dump to fd (opened for writing, empty); false when a write failed.
bool writeMinidump(int fd, const DumpFacts& facts);

} // namespace tessaly
