#include "client/diag/CrashCodes.h"

#include <csignal>

namespace tessaly {
namespace {

struct Description {
    std::uint32_t code;
    const char* text;
};

constexpr Description kDescriptions[] = {
    {0x40010005, "a Control-C"},
    {0x40010008, "a Control-Break"},
    {0x80000002, "a Datatype Misalignment"},
    {0x80000003, "a Breakpoint"},
    {0xC0000005, "an Access Violation"},
    {0xC0000006, "an In Page Error"},
    {0xC0000017, "a No Memory"},
    {0xC000001D, "an Illegal Instruction"},
    {0xC0000025, "a Noncontinuable Exception"},
    {0xC0000026, "an Invalid Disposition"},
    {0xC000008C, "a Array Bounds Exceeded"},
    {0xC000008D, "a Float Denormal Operand"},
    {0xC000008E, "a Float Divide by Zero"},
    {0xC000008F, "a Float Inexact Result"},
    {0xC0000090, "a Float Invalid Operation"},
    {0xC0000091, "a Float Overflow"},
    {0xC0000092, "a Float Stack Check"},
    {0xC0000093, "a Float Underflow"},
    {0xC0000094, "an Integer Divide by Zero"},
    {0xC0000095, "an Integer Overflow"},
    {0xC0000096, "a Privileged Instruction"},
    {0xC00000FD, "a Stack Overflow"},
    {0xC0000142, "a DLL Initialization Failed"},
    {0xE06D7363, "a Microsoft C++ Exception"},
};

std::uint32_t floatingPointCode(int code)
{
    switch (code) {
    case FPE_INTDIV: return 0xC0000094;
    case FPE_INTOVF: return 0xC0000095;
    case FPE_FLTDIV: return 0xC000008E;
    case FPE_FLTOVF: return 0xC0000091;
    case FPE_FLTUND: return 0xC0000093;
    case FPE_FLTRES: return 0xC000008F;
    case FPE_FLTSUB: return 0xC000008C;
    default: return 0xC0000090;   // FPE_FLTINV and anything unnamed
    }
}

bool nearStackPointer(const SignalFacts& facts)
{
    const std::uint64_t distance = facts.address > facts.stackPointer ? facts.address - facts.stackPointer
                                                                      : facts.stackPointer - facts.address;
    return facts.stackPointer != 0 && distance < kStackGuardDistance;
}

} // namespace

const char* exceptionDescription(std::uint32_t code)
{
    for (const Description& d : kDescriptions)
        if (d.code == code)
            return d.text;
    return "an Unknown exception type";
}

std::uint32_t exceptionCodeOf(const SignalFacts& facts)
{
    switch (facts.signal) {
    case SIGSEGV: return nearStackPointer(facts) ? kStackOverflow : kAccessViolation;
    case SIGILL:
        return facts.code == ILL_PRVOPC || facts.code == ILL_PRVREG ? 0xC0000096 : 0xC000001D;
    case SIGFPE: return floatingPointCode(facts.code);
    case SIGBUS: return facts.code == BUS_ADRALN ? 0x80000002 : 0xC0000006;
    case SIGTRAP: return 0x80000003;
    case SIGABRT: return kCppException;
    default: return 0;
    }
}

} // namespace tessaly
