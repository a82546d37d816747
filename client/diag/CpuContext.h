#pragma once
// The registers of an interrupted thread, from its signal context: as the
// crash report names them and as the minidump stores them.

#include <ucontext.h>

#include "client/diag/CrashReport.h"
#include "client/diag/MinidumpFormat.h"

namespace tessaly {

void captureRegisters(const ucontext_t& uc, CpuRegisters& r, minidump::ContextAmd64& c);

} // namespace tessaly
