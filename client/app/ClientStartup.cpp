#include "client/app/ClientStartup.h"

#include "client/lobby/LobbyWindow.h"
#include "client/net/ServerSocket.h"

namespace tessaly {

// The start-up's fixed pause after connecting is spent waiting for the
// connection itself, so a near server costs no more than it takes.
void ClientStartup::connectToGameServer()
{
    socket_.connectToServer(gameServerAddress());
    socket_.waitForConnected(dlgLobby::kConnectWaitMs);
}

} // namespace tessaly
