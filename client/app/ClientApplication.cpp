#include "client/app/ClientApplication.h"

#include <QEventLoop>

#include "client/app/ProgramDirectory.h"
#include "client/lobby/BrowserLauncher.h"

namespace tessaly {

ClientApplication::ClientApplication(const std::string& programPath)
    : config_(clientConfigFromEnvironment()),
      programDirectory_(programDirectoryOf(programPath).value_or(".")),
      sequence_(config_, programPath, services_.ports(boxes_)),
      unsentReport_(programDirectory_, programPath, services_.launcher),
      pages_(config_, urlOpener_, services_.launcher, BrowserLauncher::browserFromEnvironment()),
      chatPictures_(programDirectory_.string()),
      lobby_{state_, socket_, boxes_, services_.exit, services_.launcher, sound_, startup_, dialogs_, pages_,
             programDirectory_, chatPictures_, notes_}
{
    socket_.setLineReceiver(dispatcher_);
}

int ClientApplication::run()
{
    dlgLobby lobby(lobby_);
    if (!lobby.initialise())
        return 1;   // the process has been told to end
    // The lobby's run is modal for the program, not for its other windows:
    // the login dialog and the table windows stay usable beside it.
    QEventLoop run;
    QObject::connect(&lobby, &QDialog::finished, &run, &QEventLoop::quit);
    lobby.show();
    unsentReport_.offerIfWaiting();
    run.exec();
    return 0;
}

} // namespace tessaly
