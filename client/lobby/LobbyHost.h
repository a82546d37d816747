#pragma once
// The steps of the start-up sequence that the lobby's initialisation runs
// but that belong to the program around it: the game connection and the
// checks that decide whether the client runs at all (client/app). Tests
// replace them.

class QWidget;

namespace tessaly {

class LobbyHost {
public:
    virtual ~LobbyHost() = default;
    // Starts the one connection to the game server and waits for it for at
    // most 200 ms; a connection that fails ends the process on its own.
    virtual void connectToGameServer() = 0;
    // V from version.txt, then U from upgrade.txt, with their warning boxes.
    virtual void readVersionFiles() = 0;
    // The program's directory becomes the current directory.
    virtual void enterProgramDirectory() = 0;
    // True when the updater was started (or failed to) and the process was
    // told to end: the lobby stops initialising.
    virtual bool runVersionDecision() = 0;
    // True when the connection was too slow and the process was told to end.
    virtual bool runLatencyGate(QWidget* lobby) = 0;
};

} // namespace tessaly
