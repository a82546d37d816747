#pragma once
// What the end-to-end tests share: background programs that end with the
// test, and polling with a deadline.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <functional>

namespace tessaly {

constexpr int kStartMs = 15000;
constexpr int kStepMs = 10000;

inline QString envPath(const char* variable, const char* file)
{
    return QString::fromLocal8Bit(qgetenv(variable)) + QLatin1Char('/') + QLatin1String(file);
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
            const QString& workingDirectory = {})
        : errorFile_(errors)
    {
        process_.setProcessEnvironment(environment);
        if (!workingDirectory.isEmpty())
            process_.setWorkingDirectory(workingDirectory);
        process_.setStandardErrorFile(errors);
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

} // namespace tessaly
