// Crashes for real: crash_victim links the crash guard and faults the way
// it is told, in a folder of its own with a stand-in Bugrelay that writes
// down its arguments. Each case checks the exit status, ERRORLOG.TXT's
// lines, that CRASH.DMP reads back (the exception's thread is in the thread
// list, the program's build ID matches its file), and the sender's argument.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <ostream>
#include <elf.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/diag/MinidumpReader.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

std::string readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The GNU build ID in an ELF file's notes, read from the file itself.
std::vector<std::uint8_t> fileBuildId(const QString& path)
{
    const std::string elf = readAll(path);
    Elf64_Ehdr header{};
    if (elf.size() < sizeof header)
        return {};
    std::memcpy(&header, elf.data(), sizeof header);
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr ph{};
        std::memcpy(&ph, elf.data() + header.e_phoff + i * sizeof ph, sizeof ph);
        for (std::uint64_t at = ph.p_offset; ph.p_type == PT_NOTE && at + sizeof(Elf64_Nhdr) <= ph.p_offset + ph.p_filesz;) {
            Elf64_Nhdr note{};
            std::memcpy(&note, elf.data() + at, sizeof note);
            const std::uint64_t desc = at + sizeof note + ((note.n_namesz + 3) & ~3u);
            if (note.n_type == NT_GNU_BUILD_ID)
                return {elf.begin() + static_cast<long>(desc), elf.begin() + static_cast<long>(desc + note.n_descsz)};
            at = desc + ((note.n_descsz + 3) & ~3u);
        }
    }
    return {};
}

// A folder with a copy of crash_victim and a stand-in sender.
class CrashFolder {
public:
    explicit CrashFolder(bool withSender = true)
    {
        const QString victim = QCoreApplication::applicationDirPath() + QStringLiteral("/crash_victim");
        EXPECT_TRUE(QFile::copy(victim, program()));
        if (withSender) {
            QFile sender(dir_.filePath(QStringLiteral("Bugrelay")));
            EXPECT_TRUE(sender.open(QIODevice::WriteOnly));
            sender.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                         "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/sender-args.txt\"\n");
            sender.close();
            sender.setPermissions(sender.permissions() | QFileDevice::ExeOwner);
        }
    }
    QString program() const { return dir_.filePath(QStringLiteral("crash_victim")); }
    QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Runs the victim until it ends.
    QProcess& crash(const char* how, const QStringList& more = {},
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        // A core file, where the system writes them, lands in the folder too.
        process_.setWorkingDirectory(dir_.path());
        process_.setProcessEnvironment(environment);
        process_.start(program(), QStringList{QString::fromLatin1(how)} + more);
        EXPECT_TRUE(process_.waitForFinished(20000));
        return process_;
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
};

struct CrashCase {
    const char* how;
    int signal;
    const char* firstLine;
    const char* accessLine;   // "" when there is none
};

void PrintTo(const CrashCase& c, std::ostream* out)
{
    *out << c.how;
}

class CrashCases : public ::testing::TestWithParam<CrashCase> {};

TEST_P(CrashCases, WriteTheReportAndTheDumpStartTheSenderAndEndWith128PlusTheSignal)
{
    const CrashCase& c = GetParam();
    CrashFolder folder;
    QProcess& victim = folder.crash(c.how);
    EXPECT_EQ(victim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(victim.exitCode(), 128 + c.signal);
    EXPECT_TRUE(victim.readAllStandardError().contains("writing minidump\r\n"));

    const std::string report = readAll(folder.file("ERRORLOG.TXT"));
    EXPECT_EQ(report.rfind(c.firstLine, 0), 0u) << report.substr(0, 200);
    EXPECT_NE(report.find("\r\nException handler called in CrashGuard - CrashVictim.\r\n"), std::string::npos);
    EXPECT_NE(report.find(", run by "), std::string::npos);
    EXPECT_NE(report.find("\r\nContext:\r\nRDI:    0x"), std::string::npos);
    const std::size_t codeBytes = report.find("\r\nBytes at CS:RIP:\r\n");
    ASSERT_NE(codeBytes, std::string::npos);
    EXPECT_EQ(report.substr(codeBytes + 19, 3).find('?'), std::string::npos) << "the code bytes could not be read";
    EXPECT_NE(report.find("\r\n\r\nStack:\r\n"), std::string::npos);
    EXPECT_NE(report.find("Module 1\r\n" + folder.program().toStdString() + "\r\n"), std::string::npos);
    const std::string ending = "\r\n===== [end of ERRORLOG.TXT] =====\r\n";
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    if (*c.accessLine)
        EXPECT_NE(report.find(c.accessLine), std::string::npos);
    else
        EXPECT_EQ(report.find("caused an access violation"), std::string::npos);

    const auto dump = readDump(readAll(folder.file("CRASH.DMP")));
    ASSERT_TRUE(dump);
    ASSERT_TRUE(dump->exception);
    EXPECT_EQ(dump->exception->exception.code, static_cast<std::uint32_t>(c.signal));
    // The crashing thread first, then the idle one, each with a stack.
    ASSERT_EQ(dump->threads.size(), 2u);
    EXPECT_EQ(dump->threads[0].id, dump->exception->threadId);
    EXPECT_NE(dump->threads[1].id, dump->threads[0].id);
    for (const minidump::Thread& thread : dump->threads)
        EXPECT_GT(thread.stack.memory.size, 0u);
    for (auto stream : {minidump::SystemInfoStream, minidump::MemoryListStream, minidump::LinuxProcStatusStream,
                        minidump::LinuxCpuInfoStream})
        EXPECT_TRUE(dump->streams.count(stream)) << stream;
    EXPECT_NE(dump->maps.find(folder.program().toStdString()), std::string::npos);
    ASSERT_FALSE(dump->modules.empty());
    EXPECT_EQ(dump->modules[0].path, folder.program().toStdString());
    EXPECT_EQ(dump->modules[0].buildId, fileBuildId(folder.program()));

    // The program's path, then its own arguments.
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(folder.file("sender-args.txt")); }, 10000));
    EXPECT_EQ(readAll(folder.file("sender-args.txt")), folder.program().toStdString() + "\n" + c.how + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CrashCases,
    ::testing::Values(
        CrashCase{"read-null", SIGSEGV, "crash_victim caused an Access Violation (0xc0000005) \r\nin module ",
                  "\r\nRead from location 0000000000000000 caused an access violation.\r\n"},
        // Memory is read through a pipe when process_vm_readv is forbidden.
        CrashCase{"read-null-sandboxed", SIGSEGV, "crash_victim caused an Access Violation (0xc0000005) \r\n",
                  "\r\nRead from location 0000000000000000 caused an access violation.\r\n"},
        CrashCase{"write-bad", SIGSEGV, "crash_victim caused an Access Violation (0xc0000005) \r\n",
                  "\r\nWrite to location 0000000000000010 caused an access violation.\r\n"},
        CrashCase{"divide-zero", SIGFPE, "crash_victim caused an Integer Divide by Zero (0xc0000094) \r\n", ""},
        CrashCase{"stack-overflow", SIGSEGV, "crash_victim caused a Stack Overflow (0xc00000fd) \r\n", ""},
        CrashCase{"abort", SIGABRT, "crash_victim caused a Microsoft C++ Exception (0xe06d7363) \r\n", ""},
        CrashCase{"uncaught", SIGABRT, "crash_victim caused a Microsoft C++ Exception (0xe06d7363) \r\n", ""}),
    [](const auto& test) {
        std::string name = test.param.how;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// A password being typed and a chat line on the faulting thread's stack,
// the environment at the top of the main thread's: none of it may reach
// the report or the dump, while the debugger still walks the stack.
TEST(CrashGuard, KeepsTheUsersTextOutOfTheReportAndTheDump)
{
    const std::string password = "Hunter2-Swordfish";
    const std::string chat = "meet me at the blue table tonight";
    const std::string secret = "ENVIRONMENT-TOKEN-4c1d";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSALY_TEST_TOKEN"), QString::fromStdString(secret));
    CrashFolder folder;
    QProcess& victim = folder.crash("private-text", {QString::fromStdString(password), QString::fromStdString(chat)},
                                    environment);
    ASSERT_EQ(victim.exitCode(), 128 + SIGSEGV);
    const std::string report = readAll(folder.file("ERRORLOG.TXT"));
    const std::string dump = readAll(folder.file("CRASH.DMP"));
    ASSERT_NE(report.find("===== [end of ERRORLOG.TXT] ====="), std::string::npos);
    ASSERT_TRUE(readDump(dump));
    for (const std::string& text : {password.substr(0, 8), password.substr(8), chat.substr(0, 8), chat.substr(20),
                                    secret.substr(0, 8), secret.substr(12)}) {
        EXPECT_EQ(report.find(text), std::string::npos) << text;
        EXPECT_EQ(dump.find(text), std::string::npos) << text;
    }

    const QString lldb = QStandardPaths::findExecutable(QStringLiteral("lldb"));
    if (lldb.isEmpty())
        GTEST_SKIP() << "lldb is not installed (scripts/install-deps installs it)";
    QProcess debugger;
    debugger.start(lldb, {QStringLiteral("--batch"), QStringLiteral("-o"), QStringLiteral("bt"), QStringLiteral("--core"),
                          folder.file("CRASH.DMP"), folder.program()});
    ASSERT_TRUE(debugger.waitForFinished(60000));
    const QString out = QString::fromUtf8(debugger.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("crashWithPrivateTextOnTheStack"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("`main"))) << out.toStdString();
}

TEST(CrashGuard, AFaultInsideTheHandlerWritesNothingAndEndsTheDefaultWay)
{
    CrashFolder folder;
    QProcess& victim = folder.crash("fault-in-handler");
    EXPECT_EQ(victim.exitStatus(), QProcess::CrashExit);
    EXPECT_FALSE(QFile::exists(folder.file("ERRORLOG.TXT")));
    EXPECT_FALSE(QFile::exists(folder.file("CRASH.DMP")));
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFile::exists(folder.file("sender-args.txt")));
}

TEST(CrashGuard, WithoutASenderTheSignalsDefaultActionFollowsTheReport)
{
    CrashFolder folder(false);
    QProcess& victim = folder.crash("read-null");
    EXPECT_EQ(victim.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(victim.exitCode(), SIGSEGV);
    EXPECT_TRUE(QFile::exists(folder.file("ERRORLOG.TXT")));
    EXPECT_TRUE(QFile::exists(folder.file("CRASH.DMP")));
}

TEST(CrashGuard, AReportThatCannotBeCreatedLeavesOnlyTheDebuggerLine)
{
    CrashFolder folder;
    ASSERT_TRUE(QDir().mkdir(folder.file("ERRORLOG.TXT")));   // a folder where the file would go
    QProcess& victim = folder.crash("read-null");
    EXPECT_EQ(victim.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(victim.readAllStandardError(), QByteArray("Error creating exception report\r\n"));
    EXPECT_FALSE(QFile::exists(folder.file("CRASH.DMP")));
    QThread::msleep(200);   // time for a sender that should not have started
    EXPECT_FALSE(QFile::exists(folder.file("sender-args.txt")));
}

TEST(CrashGuard, ADumpThatCannotBeCreatedStillLeavesTheReportAndTheSender)
{
    CrashFolder folder;
    ASSERT_TRUE(QDir().mkdir(folder.file("CRASH.DMP")));
    QProcess& victim = folder.crash("divide-zero");
    EXPECT_EQ(victim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(victim.exitCode(), 128 + SIGFPE);
    EXPECT_TRUE(readAll(folder.file("ERRORLOG.TXT")).find("===== [end of ERRORLOG.TXT] =====") != std::string::npos);
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(folder.file("sender-args.txt")); }, 10000));
}

TEST(CrashGuard, UnderADebuggerWritesBothFilesButLeavesTheSignalToTheDebugger)
{
    CrashFolder folder;
    const QByteArray program = folder.program().toLocal8Bit();
    const QByteArray directory = QFileInfo(folder.program()).path().toLocal8Bit();
    // A minimal debugger: it traces the victim and passes every signal on.
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        if (chdir(directory.constData()) == 0)
            execl(program.constData(), program.constData(), "read-null", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    int segvStops = 0;
    while (waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
        int signal = WSTOPSIG(status);
        if (signal == SIGTRAP)
            signal = 0;   // the stop after exec
        segvStops += signal == SIGSEGV ? 1 : 0;
        ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
    }
    // The fault, then the signal raised again after the report.
    EXPECT_EQ(segvStops, 2);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV) << status;
    EXPECT_TRUE(QFile::exists(folder.file("ERRORLOG.TXT")));
    EXPECT_TRUE(readDump(readAll(folder.file("CRASH.DMP"))));
    QThread::msleep(200);   // time for a sender that should not have started
    EXPECT_FALSE(QFile::exists(folder.file("sender-args.txt")));
}

TEST(CrashGuard, TheDumpOpensInLldbWithTheCrashingFunction)
{
    const QString lldb = QStandardPaths::findExecutable(QStringLiteral("lldb"));
    if (lldb.isEmpty())
        GTEST_SKIP() << "lldb is not installed (scripts/install-deps installs it)";
    CrashFolder folder;
    folder.crash("read-null");
    QProcess debugger;
    debugger.start(lldb, {QStringLiteral("--batch"), QStringLiteral("-o"), QStringLiteral("bt all"),
                          QStringLiteral("--core"), folder.file("CRASH.DMP"), folder.program()});
    ASSERT_TRUE(debugger.waitForFinished(60000));
    const QString out = QString::fromUtf8(debugger.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("stop reason = signal SIGSEGV"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("frame #0: ")) && out.contains(QStringLiteral("crashByReadingNull")))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("`main"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("thread #2"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("idleThreadWaits"))) << out.toStdString();
}

} // namespace
} // namespace tessaly
