// The real client crashes: on a virtual X display, against the house
// server, the running Tessaly's main thread gets SIGSEGV. ERRORLOG.TXT and
// CRASH.DMP appear beside it, the sender is started with its full path, the
// client ends with 128 + 11, and lldb opens the dump at the client's main.
//
// The install is copied to a folder of its own with a stand-in Bugrelay
// that writes down its arguments.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>

#include "tests/support/EndToEnd.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

using namespace e2e;

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ClientCrash, LeavesTheReportAndTheDumpAndStartsTheSender)
{
    requirePrograms({"Xvfb"});
    if (HasFatalFailure())
        return;
    QTemporaryDir root;
    const QString install = root.filePath(QStringLiteral("install"));
    ASSERT_TRUE(copyTree(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR")), install));
    QFile::remove(install + QStringLiteral("/Bugrelay"));
    QFile sender(install + QStringLiteral("/Bugrelay"));
    ASSERT_TRUE(sender.open(QIODevice::WriteOnly));
    sender.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                 "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/sender-args.txt\"\n");
    sender.close();
    sender.setPermissions(sender.permissions() | QFileDevice::ExeOwner);

    VirtualDisplay screen(root.filePath(QStringLiteral("xvfb.err")));
    ASSERT_FALSE(screen.display.isEmpty()) << "Xvfb gave no display";
    const QString logDir = root.filePath(QStringLiteral("log"));
    QDir().mkpath(logDir);
    HouseServer server(root.filePath(QStringLiteral("data")), logDir, root.filePath(QStringLiteral("house.err")));
    ASSERT_TRUE(server.ready());

    const QProcessEnvironment environment = server.clientEnvironment(screen.display, root.path());
    const QString program = install + QStringLiteral("/Tessaly");
    QProcess client;
    client.setProcessEnvironment(environment);
    client.setWorkingDirectory(root.path());
    client.start(program, {});
    ASSERT_TRUE(client.waitForStarted(kStartMs));
    // Up and running: it has asked for the table list.
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const QString& name : QDir(logDir).entryList({QStringLiteral("conn-*.txt")}, QDir::Files))
                if (readAll(logDir + QLatin1Char('/') + name).contains(QStringLiteral("< LIST_TABLES")))
                    return true;
            return false;
        },
        kStartMs));

    const auto pid = static_cast<pid_t>(client.processId());
    ASSERT_EQ(::syscall(SYS_tgkill, pid, pid, SIGSEGV), 0);
    ASSERT_TRUE(client.waitForFinished(kStartMs));
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), 128 + SIGSEGV);

    const QString report = readAll(install + QStringLiteral("/ERRORLOG.TXT"));
    EXPECT_TRUE(report.startsWith(QStringLiteral("Tessaly caused an Access Violation (0xc0000005) \r\nin module ")))
        << report.left(300).toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("\r\nException handler called in CrashGuard - ClientMain.\r\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("   Product:    Tessaly Online Poker Room\r\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("   FileVer:    6.70.0.0\r\n")));
    EXPECT_TRUE(QFile::exists(install + QStringLiteral("/CRASH.DMP")));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(install + QStringLiteral("/sender-args.txt")); }, kStartMs));
    EXPECT_EQ(readAll(install + QStringLiteral("/sender-args.txt")), program + QLatin1Char('\n'));

    const QString lldb = QStandardPaths::findExecutable(QStringLiteral("lldb"));
    if (lldb.isEmpty())
        GTEST_SKIP() << "lldb is not installed (scripts/install-deps installs it)";
    QProcess debugger;
    debugger.start(lldb, {QStringLiteral("--batch"), QStringLiteral("-o"), QStringLiteral("bt"), QStringLiteral("--core"),
                          install + QStringLiteral("/CRASH.DMP"), program});
    ASSERT_TRUE(debugger.waitForFinished(60000));
    const QString out = QString::fromUtf8(debugger.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("stop reason = signal SIGSEGV"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Tessaly`main"))) << out.toStdString();
}

} // namespace
} // namespace tessaly
