#pragma once
// The program `Bugrelay`: reads its command line (SendRules.h), finds the
// report, and either says there is nothing to send, sends silently (the
// user chose automatic sending), ends quietly (a kept report waits for the
// hourly limit), or shows the window. Qt is given no argument: the ones
// after the client's path are the client's own.

namespace tessaly {

int runBugrelay(int argc, char** argv);

} // namespace tessaly
