#include "client/diag/CpuContext.h"

#include <cstddef>
#include <cstring>

#if !defined(__x86_64__)
#error "the crash guard reads x86-64 registers"
#endif

namespace tessaly {
namespace {

// The FXSAVE area: 32 bytes of control and status, then ST0-ST7 and
// XMM0-XMM15, 16 bytes each.
constexpr std::size_t kFxsaveDataStart = 32;
constexpr std::size_t kFxsaveDataEnd = kFxsaveDataStart + (8 + 16) * 16;

} // namespace

void captureRegisters(const ucontext_t& uc, CpuRegisters& r, minidump::ContextAmd64& c)
{
    const greg_t* g = uc.uc_mcontext.gregs;
    const auto u = [g](int i) { return static_cast<std::uint64_t>(g[i]); };
    const std::uint64_t segments = u(REG_CSGSFS);   // cs, gs, fs, ss: 16 bits each
    r = {u(REG_RDI), u(REG_RSI), u(REG_RAX), u(REG_RBX), u(REG_RCX), u(REG_RDX),
         u(REG_RIP), u(REG_RBP), u(REG_RSP), u(REG_EFL),
         static_cast<std::uint32_t>(segments & 0xFFFF), static_cast<std::uint32_t>(segments >> 48)};
    c = minidump::ContextAmd64{};
    c.contextFlags = minidump::kContextAmd64Full;
    c.cs = static_cast<std::uint16_t>(segments);
    c.gs = static_cast<std::uint16_t>(segments >> 16);
    c.fs = static_cast<std::uint16_t>(segments >> 32);
    c.ss = static_cast<std::uint16_t>(segments >> 48);
    c.eflags = static_cast<std::uint32_t>(u(REG_EFL));
    c.rax = u(REG_RAX);
    c.rcx = u(REG_RCX);
    c.rdx = u(REG_RDX);
    c.rbx = u(REG_RBX);
    c.rsp = u(REG_RSP);
    c.rbp = u(REG_RBP);
    c.rsi = u(REG_RSI);
    c.rdi = u(REG_RDI);
    c.r8 = u(REG_R8);
    c.r9 = u(REG_R9);
    c.r10 = u(REG_R10);
    c.r11 = u(REG_R11);
    c.r12 = u(REG_R12);
    c.r13 = u(REG_R13);
    c.r14 = u(REG_R14);
    c.r15 = u(REG_R15);
    c.rip = u(REG_RIP);
    if (uc.uc_mcontext.fpregs) {
        static_assert(sizeof(*uc.uc_mcontext.fpregs) == sizeof c.floatingSave);
        std::memcpy(c.floatingSave, uc.uc_mcontext.fpregs, sizeof c.floatingSave);
        c.mxCsr = uc.uc_mcontext.fpregs->mxcsr;
    }
}

void blankPrivateRegisters(minidump::ContextAmd64& c, const MemoryMap& map)
{
    // rax to r15 lie in a row in the packed record. The stack pointer stays
    // as it is, even in the guard gap after a stack overflow.
    const std::uint64_t stackPointer = c.rsp;
    blankPrivateWords(reinterpret_cast<std::uint8_t*>(&c) + offsetof(minidump::ContextAmd64, rax), 16 * 8, map);
    c.rsp = stackPointer;
    std::memset(c.floatingSave + kFxsaveDataStart, 0, kFxsaveDataEnd - kFxsaveDataStart);
    std::memset(c.vectorRegisters, 0, sizeof c.vectorRegisters);
}

} // namespace tessaly
