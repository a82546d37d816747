#pragma once
// The program's side of the lobby's start-up steps: the game connection
// through the one ServerSocket, and the version check, program directory
// and latency gate of the StartupSequence.

#include "client/app/StartupSequence.h"
#include "client/lobby/LobbyHost.h"

namespace tessaly {

class ServerSocket;

class ClientStartup final : public LobbyHost {
public:
    ClientStartup(ServerSocket& socket, StartupSequence& sequence) : socket_(socket), sequence_(sequence) {}

    void connectToGameServer() override;
    void readVersionFiles() override { sequence_.readVersionFiles(); }
    void enterProgramDirectory() override { sequence_.enterProgramDirectory(); }
    bool runVersionDecision() override { return sequence_.runVersionDecision(); }
    bool runLatencyGate(QWidget* lobby) override { return sequence_.runLatencyGate(lobby); }

private:
    ServerSocket& socket_;
    StartupSequence& sequence_;
};

} // namespace tessaly
