// The program `Tessaly`: the client of the Tessaly play-money poker room.

#include <QApplication>

#include "client/app/ClientApplication.h"
#include "client/diag/CrashGuard.h"

int main(int argc, char** argv)
{
    // The whole run, from the application's start to its exit, is guarded.
    tessaly::installCrashGuard();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    // The lobby's end ends the program, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);
    tessaly::ClientApplication client(QCoreApplication::applicationFilePath().toStdString());
    return client.run();
}
