// The real client crashes: on a virtual X display, against the house
// server, the running Tessaly's main thread gets SIGSEGV. ERRORLOG.TXT and
// CRASH.DMP appear beside it, the sender is started with its full path, the
// client ends with 128 + 11, and lldb opens the dump at the client's main.
//
// The install is copied to a folder of its own with a stand-in Bugrelay
// that writes down its arguments.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>

#include "tests/support/HouseClientEnvironment.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

constexpr int kStartMs = 15000;

QString envPath(const char* variable, const char* file)
{
    return QString::fromLocal8Bit(qgetenv(variable)) + QLatin1Char('/') + QLatin1String(file);
}

// The next line a program prints, within the time.
QString readLine(QProcess& process, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine())
        if (deadline.hasExpired() || !process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return {};
    return QString::fromUtf8(process.readLine()).trimmed();
}

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ClientCrash, LeavesTheReportAndTheDumpAndStartsTheSender)
{
    for (const char* tool : {"Xvfb"})
        ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            << tool << " is missing: run scripts/install-deps";
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

    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                        QStringLiteral("1024x768x24")});
    const QString display = QLatin1Char(':') + readLine(xvfb, kStartMs);
    ASSERT_NE(display, QStringLiteral(":")) << "Xvfb gave no display";

    const QString logDir = root.filePath(QStringLiteral("log"));
    QDir().mkpath(logDir);
    QProcess house;
    house.start(envPath("TESSALY_TOOLS_DIR", "tessaly-house"),
                {QStringLiteral("--game-port"), QStringLiteral("0"), QStringLiteral("--web-port"), QStringLiteral("0"),
                 QStringLiteral("--data"), root.filePath(QStringLiteral("data")), QStringLiteral("--log"), logDir});
    const QRegularExpressionMatch ready =
        QRegularExpression(QStringLiteral("^listening game ([0-9.]+):(\\d+) web ([0-9.]+:\\d+)$"))
            .match(readLine(house, kStartMs));
    ASSERT_TRUE(ready.hasMatch());

    const QProcessEnvironment environment =
        houseClientEnvironment(ready, display, root.filePath(QStringLiteral("config")), root.path());
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
