#pragma once
// The exception codes and descriptions of the crash report, and how this
// system's fatal signals map onto them. Pure rules, safe in a signal handler.

#include <cstdint>

namespace tessaly {

inline constexpr std::uint32_t kAccessViolation = 0xC0000005;
inline constexpr std::uint32_t kStackOverflow = 0xC00000FD;
inline constexpr std::uint32_t kCppException = 0xE06D7363;

// "an Access Violation" for 0xC0000005, ...; "an Unknown exception type" for
// a code without a description.
const char* exceptionDescription(std::uint32_t code);

// What the kernel told the handler about one fault.
struct SignalFacts {
    int signal = 0;
    int code = 0;                  // si_code
    std::uint64_t address = 0;     // si_addr
    std::uint64_t stackPointer = 0;
};

// The exception code of a fatal signal: SIGSEGV an access violation, or a
// stack overflow when the fault lies within the guard distance below or
// near the stack pointer; SIGILL an illegal instruction (a privileged one
// for ILL_PRVOPC and ILL_PRVREG); SIGFPE by its si_code; SIGBUS a datatype
// misalignment for BUS_ADRALN, else an in-page error; SIGTRAP a breakpoint;
// SIGABRT (also the end of an uncaught C++ exception) the C++ exception code.
std::uint32_t exceptionCodeOf(const SignalFacts& facts);

// A fault this close to the stack pointer is a stack overflow: the stack
// has run into the guard page below it.
inline constexpr std::uint64_t kStackGuardDistance = 64 * 1024;

} // namespace tessaly
