// The program `Loomrise`: updates the install from the web server and
// starts the client again.

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

#include "client/net/ClientConfig.h"
#include "platform/gui/GuiThreadMessageBoxes.h"
#include "platform/gui/QtMessageBoxes.h"
#include "updater/UpdaterProgram.h"
#include "updater/UpdaterTexts.h"

int main(int argc, char** argv)
{
    using namespace tessaly;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(updater::kProgramName));

    QtMessageBoxes shown;
    GuiThreadMessageBoxes boxes(shown);
    DetachedProcessLauncher launcher;
    CurlHttpStream http;
    // The client starts the updater in the install directory, which is
    // where everything is written.
    updater::UpdaterProgram program(
        {updater::commandLineOf(argc, argv), clientConfigFromEnvironment().webUrl, QDir::currentPath().toStdString()},
        {boxes, launcher, http});
    if (program.open())
        program.window()->exec();
    // Closing the window ends the program even while the worker is still at
    // work; only an unpack that is renaming its files is let finish.
    program.stop();
    std::fflush(nullptr);
    std::_Exit(0);
}
