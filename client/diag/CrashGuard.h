#pragma once
// The crash guard: installed first thing in main, it reports the process's
// first fatal fault. On SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT or SIGTRAP
// (and an uncaught C++ exception, which ends in abort()) the handler, on
// its own alternate stack, stops the other threads, writes "ERRORLOG.TXT"
// and "CRASH.DMP" into the program's directory and starts the crash sender
// "Bugrelay" from there with the program's full path as its first argument,
// followed by the program's own arguments (so that the sender can start it
// again as it was). Then the process ends
// with status 128 + the signal number. Without a sender, under a debugger,
// or when the report cannot be created, the signal's default action
// follows (a core dump where the system keeps them; the debugger sees it).
// A second fault writes nothing and ends the process the default way.

#include "client/diag/ProgramIdentity.h"

namespace tessaly {

struct CrashGuardOptions {
    ProgramIdentity identity = kClientIdentity;
    const char* location = "CrashGuard - ClientMain";
    // Runs first in the handler of the first fault. Tests fault in it to
    // check that a fault inside the handler writes nothing.
    void (*onFault)() = nullptr;
};

// Prepares everything the handler needs that takes allocation (the
// program's path, the user, the system's texts, the time zone) and
// installs the handlers. Call once, before any other thread starts; the
// calling thread gets the alternate signal stack.
void installCrashGuard(const CrashGuardOptions& options = {});

} // namespace tessaly
