#pragma once
// The registers of an interrupted thread, from its signal context: as the
// crash report names them and as the minidump stores them.

#include <ucontext.h>

#include "client/diag/CrashReport.h"
#include "client/diag/MemoryMap.h"
#include "client/diag/MinidumpFormat.h"

namespace tessaly {

void captureRegisters(const ucontext_t& uc, CpuRegisters& r, minidump::ContextAmd64& c);

// The context as the dump keeps it: every general register but the stack
// and instruction pointers through reportableWord, and the x87 and SSE
// registers cleared (a string copy moves text through them).
void blankPrivateRegisters(minidump::ContextAmd64& c, const MemoryMap& map);

} // namespace tessaly
