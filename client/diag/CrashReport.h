#pragma once
// The text of "ERRORLOG.TXT": what crashed and where, the machine, the
// registers, the code bytes, the stack and the loaded modules. Written by
// the crash handler through a ReportBuffer, so nothing here allocates.

#include <cstddef>
#include <cstdint>

#include "client/diag/ProgramIdentity.h"
#include "client/diag/CrashCodes.h"
#include "client/diag/CrashFormat.h"
#include "client/diag/LoadedModules.h"
#include "client/diag/MemoryMap.h"
#include "client/diag/MemoryStatus.h"

namespace tessaly {

// The processor's registers at the fault, as the report names them.
struct CpuRegisters {
    std::uint64_t rdi = 0, rsi = 0, rax = 0, rbx = 0, rcx = 0, rdx = 0;
    std::uint64_t rip = 0, rbp = 0, rsp = 0, eflags = 0;
    std::uint32_t cs = 0, ss = 0;
};

// What is known of the process before any crash: prepared at start, while
// allocating and asking the locale are still allowed.
struct CrashStartInfo {
    static constexpr std::size_t kTextMax = 1024;
    char programPath[kTextMax] = "Unknown";
    char crasherName[256] = "Unknown";   // the program's file name without its last extension
    char userName[256] = "Unknown";
    char systemName[kTextMax] = "Linux";   // kernel and distribution
    char systemNumbers[64] = "0.0.0";      // kernel release major.minor.patch
    char reportPath[kTextMax] = "ERRORLOG.TXT";
    char dumpPath[kTextMax] = "CRASH.DMP";
    char senderPath[kTextMax] = "Bugrelay";
    const char* location = "CrashGuard - ClientMain";
    int processorCount = 1;
    int processorType = 0;
    long utcOffsetSeconds = 0;   // local time's offset at start
    ProgramIdentity identity{};  // what the program knows of itself
};

// One fault: its signal, code and registers.
struct CrashFacts {
    SignalFacts signal{};
    std::uint32_t code = 0;
    bool writeAccess = false;   // the page fault's error code says "write"
    CpuRegisters registers{};
    std::int64_t unixTime = 0;
};

// "%d/%d/%d %02d:%02d:%02d" (month, day, year, hour, minute, second) of a
// UTC time moved by the offset into local time, with the seconds cut to a
// multiple of 2 as a DOS time keeps them. Returns the length.
std::size_t formatReportTime(char* out, std::size_t capacity, std::int64_t unixTime, long utcOffsetSeconds);

// The stack section's lines for bytes read from address first: four 64-bit
// words a line ("0x%016x: " and each word "%016x "), a short last line padded
// with 17 blanks per missing word, then the words' bytes as characters
// (bytes outside 32 to 126 as "."). A trailing partial word is dropped.
void writeStackLines(ReportBuffer& out, std::uint64_t first, const std::uint8_t* bytes, std::size_t size);

// The whole report, sections in order. The general registers and the
// stack's words go through reportableWord; the code bytes are shown only
// from executable memory.
void writeCrashReport(ReportBuffer& out, const CrashStartInfo& start, const CrashFacts& facts,
                      const ModuleTable& modules, const MemoryStatus& memory, const MemoryMap& map);

} // namespace tessaly
