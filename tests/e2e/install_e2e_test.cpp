// The suite as a user installs it: scripts/install-suite into a temporary
// prefix, then the installed launcher started from another directory (as a
// desktop starts it, from the home directory) against the house server on a
// virtual X display. The client reaches its lobby with its pictures, writes
// nothing into the directory it was started from, and its "Network Status
// Monitor..." starts the monitor program beside it. Uninstalling removes
// what the install wrote.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/EndToEnd.h"

namespace tessaly {
namespace {

using namespace e2e;

// Runs a program to its end; its exit code, or -1 when it did not end.
int runToEnd(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
             QString* output = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output != nullptr)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    return files;
}

class InstalledSuite : public ::testing::Test {
protected:
    QString installed(const QString& path) const { return prefix + QLatin1Char('/') + path; }
    // Starts the installed launcher from the home directory, waits for the
    // lobby with its pictures, opens the network monitor from the Help menu
    // and ends the client again.
    void runInstalledClient(const QString& display, const HouseServer& server, const QString& monitor,
                            const QString& monitorMark);

    QTemporaryDir root;
    QString prefix = root.filePath(QStringLiteral("prefix"));
    QString home = root.filePath(QStringLiteral("home"));
};

TEST_F(InstalledSuite, InstallsAndStartsFromItsLauncherIntoTheLobbyWithItsPictures)
{
    requirePrograms({"Xvfb", "xdotool", "desktop-file-validate"});
    const QString source = QString::fromLocal8Bit(qgetenv("TESSALY_SOURCE_DIR"));
    const QString build = QFileInfo(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR"))).path();
    ASSERT_TRUE(QDir().mkpath(home));

    QProcessEnvironment installEnvironment = QProcessEnvironment::systemEnvironment();
    installEnvironment.insert(QStringLiteral("PREFIX"), prefix);
    QString output;
    ASSERT_EQ(runToEnd(source + QStringLiteral("/scripts/install-suite"), {QStringLiteral("install"), build},
                       installEnvironment, &output),
              0)
        << output.toStdString();

    // Where a per-user program's parts go, under the prefix.
    for (const char* path : {"bin/tessaly", "share/tessaly/Tessaly"})
        EXPECT_TRUE(QFileInfo(installed(QLatin1String(path))).isExecutable()) << path;
    for (const char* path : {"share/tessaly/images/LobbyBg.jpg", "share/metainfo/example.tessaly.Tessaly.metainfo.xml"})
        EXPECT_TRUE(QFileInfo::exists(installed(QLatin1String(path)))) << path;
    for (int size : {48, 64, 128, 256}) {
        const QString icon = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/example.tessaly.Tessaly.png").arg(size));
        EXPECT_EQ(QImageReader(icon).size(), QSize(size, size)) << icon.toStdString();
    }
    const QString entry = installed(QStringLiteral("share/applications/example.tessaly.Tessaly.desktop"));
    QFile entryFile(entry);
    ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entryFile.readAll().contains(("\nExec=" + installed(QStringLiteral("bin/tessaly"))).toUtf8() + "\n"));
    EXPECT_EQ(runToEnd(QStringLiteral("desktop-file-validate"), {entry}, installEnvironment, &output), 0)
        << output.toStdString();

    // The monitor the lobby starts: a stand-in that says where it ran when
    // the build has none, so the test sees the client start it by its path.
    // It renames a finished file into place: the mark never exists empty.
    const QString monitor = installed(QStringLiteral("share/tessaly/Linkscope"));
    const QString monitorMark = root.filePath(QStringLiteral("monitor-started"));
    QFile::remove(monitor);
    {
        QFile standIn(monitor);
        ASSERT_TRUE(standIn.open(QIODevice::WriteOnly));
        standIn.write(QStringLiteral("#!/bin/sh\npwd > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(monitorMark).toUtf8());
    }
    QFile::setPermissions(monitor, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    const QString logDir = root.filePath(QStringLiteral("log"));
    ASSERT_TRUE(QDir().mkpath(logDir));
    VirtualDisplay screen(root.filePath(QStringLiteral("xvfb.err")));
    ASSERT_FALSE(screen.display.isEmpty()) << "Xvfb gave no display";
    HouseServer server(root.filePath(QStringLiteral("data")), logDir, root.filePath(QStringLiteral("house.err")));
    ASSERT_TRUE(server.ready()) << server.house.errors().toStdString();

    {
        SCOPED_TRACE("the installed client");
        runInstalledClient(screen.display, server, monitor, monitorMark);
    }

    // Uninstalling removes what the install wrote, wherever it went.
    ASSERT_EQ(runToEnd(source + QStringLiteral("/scripts/install-suite"), {QStringLiteral("uninstall"), build},
                       installEnvironment, &output),
              0)
        << output.toStdString();
    for (const char* path : {"bin/tessaly", "share/tessaly/Tessaly", "share/tessaly/images",
                             "share/applications/example.tessaly.Tessaly.desktop",
                             "share/icons/hicolor/48x48/apps/example.tessaly.Tessaly.png",
                             "share/metainfo/example.tessaly.Tessaly.metainfo.xml"})
        EXPECT_FALSE(QFileInfo::exists(installed(QLatin1String(path)))) << path;
}

void InstalledSuite::runInstalledClient(const QString& display, const HouseServer& server, const QString& monitor,
                                        const QString& monitorMark)
{
    QProcessEnvironment environment = server.clientEnvironment(display, root.path());
    environment.insert(QStringLiteral("HOME"), home);
    Program client(installed(QStringLiteral("bin/tessaly")), {}, root.filePath(QStringLiteral("client.err")), environment,
                   home);
    ASSERT_TRUE(client.started());
    ASSERT_TRUE(pollUntil([&] { return client.errors().contains(QStringLiteral("lobby: shown")); }, kStartMs))
        << client.errors().toStdString();
    EXPECT_TRUE(client.errors().contains(QStringLiteral("lobby: pictures loaded"))) << client.errors().toStdString();
    EXPECT_TRUE(pollUntil([&] { return client.errors().contains(QStringLiteral("tables listed")); }, kStepMs));

    // Help > Network Status Monitor... (the first item of the Help menu).
    auto xdotool = [&](const QStringList& arguments) {
        QProcessEnvironment onDisplay = QProcessEnvironment::systemEnvironment();
        onDisplay.insert(QStringLiteral("DISPLAY"), display);
        QString found;
        runToEnd(QStringLiteral("xdotool"), arguments, onDisplay, &found);
        return found.trimmed().section(QLatin1Char('\n'), 0, 0);
    };
    const QString lobby = xdotool({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("Welcome to The World")});
    ASSERT_FALSE(lobby.isEmpty());
    QDeadlineTimer deadline(kStepMs);
    while (!QFile::exists(monitorMark) && !deadline.hasExpired()) {
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), lobby});
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), lobby});
        xdotool({QStringLiteral("key"), QStringLiteral("alt+h")});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        pollUntil([&] { return QFile::exists(monitorMark); }, 2000);
    }
    QFile mark(monitorMark);
    ASSERT_TRUE(mark.open(QIODevice::ReadOnly)) << "the monitor was not started";
    EXPECT_EQ(QString::fromUtf8(mark.readAll()).trimmed(), QFileInfo(monitor).path());

    // Started from the home directory, the client wrote nothing there.
    EXPECT_EQ(filesUnder(home), QStringList());
}

} // namespace
} // namespace tessaly
