#pragma once
// The process's other threads for the crash dump. The crashing thread sends
// each of them a real-time signal; its handler records the thread's
// registers and parks the thread until the process ends, so its stack stays
// as it was. A thread that does not answer in time (it blocks the signal,
// or sits in the kernel) is left out.

#include <cstddef>
#include <sys/types.h>

#include "client/diag/Minidump.h"

namespace tessaly {

// Installs the handler of the thread-stop signal; call at start.
void installThreadStopper();

// Stops every thread but `self` and writes their ids and registers to out
// (at most capacity), waiting at most waitMs for them all. Returns the count.
std::size_t stopOtherThreads(pid_t self, DumpThread* out, std::size_t capacity, int waitMs);

} // namespace tessaly
