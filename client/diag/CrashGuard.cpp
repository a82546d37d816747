#include "client/diag/CrashGuard.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <string>
#include <vector>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <ucontext.h>
#include <unistd.h>

#include "client/diag/CpuContext.h"
#include "client/diag/CrashReport.h"
#include "client/diag/CrashReportFiles.h"
#include "client/diag/Minidump.h"
#include "client/diag/OtherThreads.h"
#include "client/diag/ProcFiles.h"
#include "client/diag/SystemInfo.h"

extern char** environ;

namespace tessaly {
namespace {

constexpr int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP};
constexpr std::size_t kAltStackSize = 256 * 1024;
constexpr int kProcessorTypeAmd64 = 8664;
// How long the other threads may take to stop for the dump.
constexpr int kThreadStopWaitMs = 100;

// Everything the handler touches is here, prepared before any fault.
struct GuardState {
    CrashGuardOptions options;
    CrashStartInfo start;
    DumpFacts dump;
    char kernelText[512] = "";
    ModuleTable modules;
    MemoryMap memory;
    ReportBuffer report;
    CrashFacts facts;
    minidump::ContextAmd64 context{};
    DumpThread threads[kDumpThreadsMax];
    char meminfo[8192] = "";
    char status[4096] = "";
    // The sender's command line: its path, the program's path, then the
    // program's own arguments, so that it can start the program as it was.
    std::vector<std::string> arguments;
    std::vector<char*> senderArgv;
};

GuardState* guard = nullptr;
// The thread that is reporting: 0 until the first fault.
std::atomic<pid_t> reportingThread{0};

template <std::size_t N>
void copyText(char (&to)[N], std::string_view text)
{
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(to, text.data(), n);
    to[n] = '\0';
}

void writeError(const char* text)
{
    writeAll(STDERR_FILENO, text, std::strlen(text));
}

// Restores the signal's default action; the signal raised again stays
// pending until the handler returns, and then ends the process.
void defaultAction(int signal)
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

int createFile(const char* path)
{
    return ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

bool underDebugger(GuardState& g)
{
    const std::size_t n = readSmallFile("/proc/self/status", g.status, sizeof g.status - 1);
    g.status[n] = '\0';
    return keyedNumber(std::string_view(g.status, n), "TracerPid").value_or(0) != 0;
}

// Starts the sender in a session of its own with its output detached, so
// it outlives this process. The fork is the raw system call: glibc's fork
// runs fork handlers, which may wait for locks the crash holds. A pipe
// closed by a successful exec tells the parent whether the start worked.
bool startSender(const CrashStartInfo& start, char* const* argv)
{
    if (::access(start.senderPath, X_OK) != 0)
        return false;
    int result[2];
    if (::pipe2(result, O_CLOEXEC) != 0)
        return false;
    const long pid = ::syscall(SYS_clone, SIGCHLD, 0, nullptr, nullptr, 0);
    if (pid == 0) {
        ::setsid();
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        ::execve(argv[0], argv, environ);
        const char failed = 1;
        [[maybe_unused]] const ssize_t told = ::write(result[1], &failed, 1);
        ::_exit(127);
    }
    ::close(result[1]);
    char failed = 0;
    ssize_t n;
    while ((n = ::read(result[0], &failed, 1)) < 0 && errno == EINTR) {
    }
    ::close(result[0]);
    return pid > 0 && n == 0;
}

void writeReport(GuardState& g, int fd)
{
    g.modules.load();
    const std::size_t n = readSmallFile("/proc/meminfo", g.meminfo, sizeof g.meminfo - 1);
    const MemoryStatus memory = memoryStatusOf(std::string_view(g.meminfo, n), mappedBytes());
    g.report.open(fd);
    writeCrashReport(g.report, g.start, g.facts, g.modules, memory, g.memory);
    g.report.finish();
}

void writeDump(GuardState& g)
{
    const int fd = createFile(g.start.dumpPath);
    if (fd < 0)
        return;
    writeError("writing minidump\r\n");
    g.dump.threads = g.threads;
    writeMinidump(fd, g.dump);
    ::fsync(fd);
    ::close(fd);
}

void onFatalSignal(int signal, siginfo_t* info, void* context)
{
    const auto self = static_cast<pid_t>(::syscall(SYS_gettid));
    pid_t first = 0;
    if (!reportingThread.compare_exchange_strong(first, self)) {
        if (first == self) {
            defaultAction(signal);   // a fault inside the handler
            return;
        }
        for (;;)
            ::pause();   // another thread reports and ends the process
    }
    GuardState& g = *guard;
    if (g.options.onFault)
        g.options.onFault();

    const auto& uc = *static_cast<const ucontext_t*>(context);
    captureRegisters(uc, g.facts.registers, g.context);
    g.facts.signal = {signal, info->si_code, reinterpret_cast<std::uint64_t>(info->si_addr), g.facts.registers.rsp};
    // A signal sent by a process (kill, raise, abort) did not fault: si_addr
    // holds the sender's ids, not an address.
    if (info->si_code <= 0)
        g.facts.signal.address = 0;
    g.facts.code = exceptionCodeOf(g.facts.signal);
    g.facts.writeAccess = signal == SIGSEGV && info->si_code > 0 && (uc.uc_mcontext.gregs[REG_ERR] & 2) != 0;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    g.facts.unixTime = now.tv_sec;

    const int fd = createFile(g.start.reportPath);
    if (fd < 0) {
        writeError("Error creating exception report\r\n");
        defaultAction(signal);
        return;
    }
    // The other threads stand still from here on, for the report and the dump.
    g.threads[0] = {static_cast<std::uint32_t>(self), &g.context};
    g.dump.threadCount = 1 + stopOtherThreads(self, g.threads + 1, kDumpThreadsMax - 1, kThreadStopWaitMs);
    g.memory.load();
    writeReport(g, fd);
    ::fsync(fd);   // the report is written through before anything else can fail
    ::close(fd);
    writeDump(g);
    if (underDebugger(g) || !startSender(g.start, g.senderArgv.data())) {
        defaultAction(signal);
        return;
    }
    ::_exit(128 + signal);
}

// An uncaught exception: the library's own handler allocates to print the
// exception's type; abort() at once lets the guard report it as SIGABRT.
[[noreturn]] void onTerminate()
{
    std::abort();
}

std::string userName()
{
    char buffer[4096];
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
        return found->pw_name;
    const char* user = std::getenv("USER");
    return user && *user ? user : "Unknown";
}

// The program's arguments after its name, as it was started.
std::vector<std::string> programArguments()
{
    const std::string line = readTextFile("/proc/self/cmdline");
    std::vector<std::string> arguments;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = std::min(line.find('\0', at), line.size());
        arguments.emplace_back(line, at, end - at);
        at = end + 1;
    }
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    return arguments;
}

void prepare(GuardState& g)
{
    namespace fs = std::filesystem;
    CrashStartInfo& s = g.start;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        copyText(s.programPath, program.string());
        copyText(s.crasherName, program.filename().replace_extension().string());
        copyText(s.reportPath, (program.parent_path() / kCrashReportFile).string());
        copyText(s.dumpPath, (program.parent_path() / kCrashDumpFile).string());
        copyText(s.senderPath, (program.parent_path() / kCrashSenderFile).string());
    }
    copyText(s.userName, userName());
    s.location = g.options.location;
    s.identity = g.options.identity;
    s.processorCount = static_cast<int>(::sysconf(_SC_NPROCESSORS_ONLN));
    s.processorType = kProcessorTypeAmd64;

    utsname names{};
    ::uname(&names);
    const KernelVersion kernel = parseKernelRelease(names.release);
    const std::string pretty = osReleasePrettyName(readTextFile("/etc/os-release"));
    copyText(s.systemName, std::string(names.sysname) + (pretty.empty() ? "" : " - " + pretty));
    copyText(s.systemNumbers, std::to_string(kernel.major) + "." + std::to_string(kernel.minor) + "."
                                  + std::to_string(kernel.patch));
    copyText(g.kernelText, std::string(names.sysname) + " " + names.release + " " + names.version + " "
                               + names.machine);

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    s.utcOffsetSeconds = local.tm_gmtoff;

    g.arguments = programArguments();
    g.senderArgv = {s.senderPath, s.programPath};
    for (std::string& argument : g.arguments)
        g.senderArgv.push_back(argument.data());
    g.senderArgv.push_back(nullptr);

    g.dump.start = &g.start;
    g.dump.memory = &g.memory;
    g.dump.crash = &g.facts;
    g.dump.modules = &g.modules;
    g.dump.kernelVersion[0] = kernel.major;
    g.dump.kernelVersion[1] = kernel.minor;
    g.dump.kernelVersion[2] = kernel.patch;
    g.dump.kernelText = g.kernelText;
}

} // namespace

void installCrashGuard(const CrashGuardOptions& options)
{
    if (guard)
        return;
    // Lives as long as the process; the handler may run at any moment.
    guard = new GuardState{};
    guard->options = options;
    prepare(*guard);

    // A stack overflow leaves no stack to run the handler on: it gets its own.
    static char* alternate = new char[kAltStackSize];
    stack_t stack{};
    stack.ss_sp = alternate;
    stack.ss_size = kAltStackSize;
    ::sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // A fault of any guarded kind inside the handler is not handled again:
    // the kernel ends the process with that signal's default action.
    sigemptyset(&action.sa_mask);
    for (int signal : kGuardedSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : kGuardedSignals)
        ::sigaction(signal, &action, nullptr);
    installThreadStopper();
    std::set_terminate(onTerminate);
}

} // namespace tessaly
