#include "client/diag/OtherThreads.h"

#include <atomic>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include "client/diag/CpuContext.h"
#include "client/diag/ProcFiles.h"

namespace tessaly {
namespace {

enum State : int { Free = 0, Asked = 1, Stopped = 2 };

struct Slot {
    std::atomic<pid_t> thread{0};
    std::atomic<int> state{Free};
    minidump::ContextAmd64 context{};
};

Slot slots[kDumpThreadsMax];
int stopSignal = 0;

void onStop(int, siginfo_t*, void* context)
{
    const auto self = static_cast<pid_t>(::syscall(SYS_gettid));
    for (Slot& slot : slots) {
        if (slot.thread.load() != self || slot.state.load() != Asked)
            continue;
        CpuRegisters unused;
        captureRegisters(*static_cast<const ucontext_t*>(context), unused, slot.context);
        slot.state.store(Stopped);
        for (;;)
            ::pause();   // until the crashing thread ends the process
    }
}

std::int64_t nowMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// The thread ids in /proc/self/task, read with the raw directory call.
std::size_t listThreads(pid_t self, pid_t* out, std::size_t capacity)
{
    const int fd = ::open("/proc/self/task", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    static char entries[8192];
    std::size_t count = 0;
    long n;
    while ((n = ::syscall(SYS_getdents64, fd, entries, sizeof entries)) > 0) {
        for (long at = 0; at < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            std::size_t used = 0;
            const std::string_view name(entry->d_name);
            const auto thread = static_cast<pid_t>(leadingNumber(name, 10, &used));
            if (used > 0 && used == name.size() && thread != self && count < capacity)
                out[count++] = thread;
        }
    }
    ::close(fd);
    return count;
}

} // namespace

void installThreadStopper()
{
    // The highest real-time signal but one: glibc and Qt use the lowest ones.
    stopSignal = SIGRTMAX - 1;
    struct sigaction action {};
    action.sa_sigaction = onStop;
    action.sa_flags = SA_SIGINFO;
    sigfillset(&action.sa_mask);
    ::sigaction(stopSignal, &action, nullptr);
}

std::size_t stopOtherThreads(pid_t self, DumpThread* out, std::size_t capacity, int waitMs)
{
    if (stopSignal == 0)
        return 0;
    pid_t threads[kDumpThreadsMax];
    const std::size_t count = listThreads(self, threads, capacity < kDumpThreadsMax ? capacity : kDumpThreadsMax);
    const pid_t process = ::getpid();
    for (std::size_t i = 0; i < count; ++i) {
        slots[i].thread.store(threads[i]);
        slots[i].state.store(Asked);
        ::syscall(SYS_tgkill, process, threads[i], stopSignal);
    }
    const std::int64_t deadline = nowMs() + waitMs;
    for (;;) {
        std::size_t stopped = 0;
        for (std::size_t i = 0; i < count; ++i)
            stopped += slots[i].state.load() == Stopped ? 1 : 0;
        if (stopped == count || nowMs() >= deadline)
            break;
        const timespec pause{0, 1000000};
        ::nanosleep(&pause, nullptr);
    }
    std::size_t written = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (slots[i].state.load() == Stopped)
            out[written++] = {static_cast<std::uint32_t>(threads[i]), &slots[i].context};
    return written;
}

} // namespace tessaly
