#pragma once
// The one connection to the game server, for the life of the process.
//
// Received bytes are cut into lines and handed, in order, to the line
// receiver (the dispatcher). The end of the connection ends the process:
//  - the server closes its side in an orderly way (Qt's RemoteHostClosedError,
//    where a receive would return 0 bytes): the "5 minutes" notice;
//  - the connection drops otherwise (Qt's disconnected), or cannot be made at
//    all (refused, unreachable, unknown host): the "10-30 minutes" notice.
// Whichever Qt reports first wins; then the process ends with exit code 1.
//
// Lives on the UI thread; sendLine is the one send operation.

#include <QTcpSocket>

#include <cstddef>
#include <string_view>

#include "client/net/GameServerAddress.h"
#include "client/net/LineAssembler.h"
#include "client/net/LineSender.h"
#include "platform/MessageBoxes.h"

namespace tessaly {

class LineReceiver;
class ProcessExit;

class ServerSocket final : public LineSender {
public:
    ServerSocket(MessageBoxes& boxes, ProcessExit& exit);
    ~ServerSocket() override;
    ServerSocket(const ServerSocket&) = delete;
    ServerSocket& operator=(const ServerSocket&) = delete;

    // Where complete lines go; set before connecting.
    void setLineReceiver(LineReceiver& receiver) { receiver_ = &receiver; }
    // Starts connecting; the result arrives later (lines, or the end).
    void connectToServer(const GameServerAddress& address);
    // Blocks until the connection is made, or fails, or the time is up; a
    // failure ends the process as usual. True when connected.
    bool waitForConnected(int timeoutMs);

    // Sends the text and one NUL. Writes before the connection completes are
    // kept and go out once it does; a failure is traced and not reported.
    void sendLine(std::string_view text) override;

private:
    void readWaiting();
    void onError(QAbstractSocket::SocketError error);
    void end(const char* text, BoxIcon icon);

    MessageBoxes& boxes_;
    ProcessExit& exit_;
    LineReceiver* receiver_ = nullptr;
    LineAssembler assembler_;
    bool connected_ = false;
    bool ended_ = false;
    bool reading_ = false;   // a box inside dispatch may run the event loop
    QTcpSocket socket_;
};

} // namespace tessaly
