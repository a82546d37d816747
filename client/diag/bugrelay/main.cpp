// The program `Bugrelay`: started by the client's crash guard with the
// client's full path as its one argument.

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "client/diag/bugrelay/BugrelayWindow.h"
#include "platform/sys/Process.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bugrelay"));
    const QStringList arguments = QApplication::arguments();
    // Without an argument: the client beside this program.
    const QString client = arguments.size() > 1 ? arguments.at(1)
                                                : QApplication::applicationDirPath() + QStringLiteral("/Tessaly");
    tessaly::DetachedProcessLauncher launcher;
    tessaly::BugrelayWindow window(
        client, [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }, launcher);
    window.show();
    return app.exec();
}
