#include "platform/sys/Process.h"

#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace tessaly {

void SystemProcessExit::exitProcess(int code)
{
    // "At once": static destructors and window teardown do not run, as with
    // the system's process exit; only buffered output is flushed.
    std::fflush(nullptr);
    std::_Exit(code);
}

bool DetachedProcessLauncher::start(const std::string& program, const std::vector<std::string>& arguments)
{
    QStringList args;
    for (const std::string& a : arguments)
        args << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), args);
}

} // namespace tessaly
