// The program `Bugrelay`: the crash sender, started by the client's crash
// guard with the client's full path and arguments, or by the client at its
// start to offer a kept report.

#include "client/diag/bugrelay/BugrelayProgram.h"

int main(int argc, char** argv)
{
    return tessaly::runBugrelay(argc, argv);
}
