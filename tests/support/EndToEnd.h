#pragma once
// What the end-to-end tests share: background programs that end with the
// test, a virtual X display (Xvfb), the house server on free ports, copies
// of the install, and polling with deadlines.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <functional>
#include <memory>

namespace tessaly::e2e {

inline constexpr int kStartMs = 15000;
inline constexpr int kStepMs = 10000;

// A path in a folder that the test's environment names (TESSALY_DIST_DIR...).
inline QString envPath(const char* variable, const char* file)
{
    return QString::fromLocal8Bit(qgetenv(variable)) + QLatin1Char('/') + QLatin1String(file);
}

// Copies every file below `from` to the same place below `to`.
inline bool copyTree(const QString& from, const QString& to)
{
    for (QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
        const QString source = files.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

inline bool pollUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// A background program that is ended when the test ends, however it ends.
class Program {
public:
    // Its standard error goes to the file `errors`.
    Program(const QString& program, const QStringList& arguments, const QString& errors,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
            const QString& workingDirectory = QString())
        : errorFile_(errors)
    {
        process_.setProcessEnvironment(environment);
        process_.setStandardErrorFile(errors);
        if (!workingDirectory.isEmpty())
            process_.setWorkingDirectory(workingDirectory);
        process_.start(program, arguments);
    }
    ~Program()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(3000))
                process_.kill();
            process_.waitForFinished(1000);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() { return process_.waitForStarted(5000); }
    // The next line the program prints on its standard output.
    QString readLine(int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!process_.canReadLine()) {
            if (deadline.hasExpired() || !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                return {};
        }
        return QString::fromUtf8(process_.readLine()).trimmed();
    }
    // Everything printed on standard error so far.
    QString errors() const
    {
        QFile file(errorFile_);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    QString errorFile_;
};

// Fails the test when one of the programs is not installed.
inline void requirePrograms(std::initializer_list<const char*> programs)
{
    for (const char* tool : programs)
        ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            << tool << " is missing: run scripts/install-deps";
}

// Xvfb on a free display; `display` is ":N" once it runs.
struct VirtualDisplay {
    explicit VirtualDisplay(const QString& errors)
        : xvfb(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24")},
               errors)
    {
        if (!xvfb.started())
            return;
        const QString number = xvfb.readLine(kStartMs);
        if (!number.isEmpty())
            display = QLatin1Char(':') + number;
    }
    Program xvfb;
    QString display;
};

// The house server on free ports, with the data and transcripts in folders
// of the test.
struct HouseServer {
    HouseServer(const QString& dataDir, const QString& logDir, const QString& errors)
        : house(envPath("TESSALY_TOOLS_DIR", "tessaly-house"),
                {QStringLiteral("--game-port"), QStringLiteral("0"), QStringLiteral("--web-port"), QStringLiteral("0"),
                 QStringLiteral("--data"), dataDir, QStringLiteral("--log"), logDir, QStringLiteral("--bots"),
                 QStringLiteral("1")},
                errors)
    {
        if (!house.started())
            return;
        const QRegularExpressionMatch ready =
            QRegularExpression(QStringLiteral("^listening game ([0-9.]+):(\\d+) web ([0-9.]+:\\d+)$"))
                .match(house.readLine(kStartMs));
        if (ready.hasMatch()) {
            gameHost = ready.captured(1);
            gamePort = ready.captured(2);
            web = QStringLiteral("http://") + ready.captured(3);
        }
    }
    bool ready() const { return !gamePort.isEmpty(); }
    // What a client needs to reach it, the traces switched on, no sound
    // device, the browser a no-op, and no session bus: a client never
    // touches the keyring of the desktop that runs the test. Its
    // configuration and runtime folders are "config" and "runtime" in the
    // test's scratch folder.
    QProcessEnvironment clientEnvironment(const QString& display, const QString& scratch) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString runtime = scratch + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const std::pair<const char*, QString> settings[] = {
            {"XDG_CONFIG_HOME", scratch + QStringLiteral("/config")},
            {"XDG_RUNTIME_DIR", runtime},
            {"DISPLAY", display},
            {"QT_QPA_PLATFORM", QStringLiteral("xcb")},
            {"TESSALY_GAME_HOST", gameHost},
            {"TESSALY_GAME_PORT", gamePort},
            {"TESSALY_WEB_URL", web},
            {"TESSALY_SECURE_WEB_URL", web},
            {"TESSALY_PROBE_HOST", QStringLiteral("127.0.0.1")},
            {"TESSALY_BROWSER", QStringLiteral("/bin/true")},
            {"QT_LOGGING_RULES", QStringLiteral("tessaly.trace=true")},
            {"SDL_AUDIODRIVER", QStringLiteral("dummy")},
            {"DBUS_SESSION_BUS_ADDRESS", QStringLiteral("unix:path=") + scratch + QStringLiteral("/no-bus")},
        };
        for (const auto& [variable, value] : settings)
            environment.insert(QString::fromLatin1(variable), value);
        return environment;
    }

    Program house;
    QString gameHost;
    QString gamePort;
    QString web;
};

} // namespace tessaly::e2e
