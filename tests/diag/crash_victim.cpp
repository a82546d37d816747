// A program that links the crash guard and crashes for real, in the way its
// first argument names: read-null, write-bad, divide-zero, stack-overflow,
// abort, uncaught, fault-in-handler, read-null-sandboxed (process_vm_readv
// forbidden, as some sandboxes do), private-text PASSWORD CHAT (both copied
// onto the stack, as a login or a chat line would be, when it faults). A second thread waits in
// idleThreadWaits() all the while, for the dump's thread list. crash_guard_test runs it from a
// folder of its own, where it writes ERRORLOG.TXT and CRASH.DMP and starts
// a stand-in Bugrelay.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include "client/diag/CrashGuard.h"

namespace {

volatile int zero = 0;
int* volatile nullAddress = nullptr;
int* volatile badAddress = reinterpret_cast<int*>(0x10);

__attribute__((noinline)) int crashByReadingNull()
{
    return *nullAddress;
}

__attribute__((noinline)) int crashWithPrivateTextOnTheStack(const char* password, const char* chat)
{
    char typed[64];
    std::snprintf(typed, sizeof typed, "%s", password);
    const std::string shortPassword(password, std::min<std::size_t>(std::strlen(password), 15));
    char line[256];
    std::snprintf(line, sizeof line, "SEND_MESSAGE:\t%s", chat);
    asm volatile("" : : "r"(typed), "r"(line), "r"(shortPassword.data()) : "memory");
    return crashByReadingNull() + typed[0] + line[0] + shortPassword[0];
}

__attribute__((noinline)) void crashByWritingBadAddress()
{
    *badAddress = 1;
}

__attribute__((noinline)) int crashByDividingByZero()
{
    return 7 / zero;
}

volatile int recursionLimit = -1;   // never reached: the stack runs out first

__attribute__((noinline)) int recurseForever(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth == recursionLimit)
        return frame[0];
    return recurseForever(depth + 1) + frame[0];
}

__attribute__((noinline)) void throwUncaught()
{
    throw std::runtime_error("nobody catches this");
}

std::atomic<bool> idleThreadRuns{false};

__attribute__((noinline)) void idleThreadWaits()
{
    idleThreadRuns = true;
    for (;;)
        pause();
}

// Makes process_vm_readv fail with EPERM for this process.
void forbidReadingOwnMemory()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_process_vm_readv, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EPERM & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        std::perror("crash_victim: seccomp");
        std::exit(3);
    }
}

void faultInsideHandler()
{
    crashByReadingNull();
}

} // namespace

int main(int argc, char** argv)
{
    const char* what = argc > 1 ? argv[1] : "";
    tessaly::CrashGuardOptions options;
    options.location = "CrashGuard - CrashVictim";
    if (std::strcmp(what, "fault-in-handler") == 0)
        options.onFault = faultInsideHandler;
    tessaly::installCrashGuard(options);
    std::thread(idleThreadWaits).detach();
    while (!idleThreadRuns)
        std::this_thread::yield();

    if (std::strcmp(what, "read-null-sandboxed") == 0)
        forbidReadingOwnMemory();
    if (std::strcmp(what, "read-null") == 0 || std::strcmp(what, "fault-in-handler") == 0
        || std::strcmp(what, "read-null-sandboxed") == 0)
        return crashByReadingNull();
    if (std::strcmp(what, "private-text") == 0 && argc > 3)
        return crashWithPrivateTextOnTheStack(argv[2], argv[3]);
    if (std::strcmp(what, "write-bad") == 0)
        crashByWritingBadAddress();
    else if (std::strcmp(what, "divide-zero") == 0)
        return crashByDividingByZero();
    else if (std::strcmp(what, "stack-overflow") == 0)
        return recurseForever(0);
    else if (std::strcmp(what, "abort") == 0)
        std::abort();
    else if (std::strcmp(what, "uncaught") == 0)
        throwUncaught();
    std::fprintf(stderr, "crash_victim: no such case \"%s\"\n", what);
    return 2;
}
