#pragma once
// The program `Tessaly`: everything that lives as long as the process (the
// client's state, the one connection and its dispatcher, sound, message
// boxes, the start-up services) and the lobby's run. Members are declared
// in the order they depend on each other, so they go in reverse: the lobby
// and its windows first, the state last.

#include <filesystem>
#include <string>

#include "client/app/ClientStartup.h"
#include "client/app/StartupSequence.h"
#include "client/app/UnsentReportOffer.h"
#include "client/lobby/AccountContext.h"
#include "client/lobby/AccountDialogs.h"
#include "client/lobby/DesktopUrlOpener.h"
#include "client/lobby/LobbyWindow.h"
#include "client/lobby/PageOpener.h"
#include "client/lobby/RememberedLogin.h"
#include "client/net/ClientConfig.h"
#include "client/net/ServerSocket.h"
#include "client/dispatch/Dispatcher.h"
#include "client/table/ClientState.h"
#include "client/table/PlayerNotes.h"
#include "client/ui/ChatLog.h"
#include "client/ui/SoundPlayer.h"
#include "platform/audio/MixerAudio.h"
#include "platform/gui/QtMessageBoxes.h"
#include "platform/secrets/SecretServiceStore.h"

namespace tessaly {

class ClientApplication {
public:
    // programPath: the program's own file.
    explicit ClientApplication(const std::string& programPath);

    // Initialises the lobby (the start-up sequence), shows it and runs
    // until it closes. The exit code of a lobby closed by the user: 0.
    int run();

private:
    ClientConfig config_;
    std::filesystem::path programDirectory_;
    ClientState state_;
    QtMessageBoxes boxes_;
    SystemStartupServices services_;
    MixerAudio audio_;
    SoundPlayer sound_{audio_};
    ServerSocket socket_{boxes_, services_.exit};
    Dispatcher dispatcher_{state_, DispatchPorts{socket_, sound_, boxes_, services_.exit}};
    StartupSequence sequence_;
    ClientStartup startup_{socket_, sequence_};
    UnsentReportOffer unsentReport_;
    SecretServiceStore keyring_{kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel};
    RememberedLogin remembered_{keyring_};
    AccountContext account_{state_, socket_, boxes_, remembered_};
    AccountDialogs dialogs_{account_};
    DesktopUrlOpener urlOpener_;
    PageOpener pages_;
    ChatPictureTable chatPictures_;
    PlayerNotes notes_{boxes_};
    LobbyContext lobby_;
};

} // namespace tessaly
