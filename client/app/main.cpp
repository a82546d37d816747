// The program `Tessaly`: the client of the Tessaly play-money poker room.

#include <QApplication>

#include "client/app/ClientApplication.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    // The lobby's end ends the program, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);
    tessaly::ClientApplication client(QCoreApplication::applicationFilePath().toStdString());
    return client.run();
}
