#include "client/net/ServerSocket.h"

#include "client/net/LineReceiver.h"
#include "platform/MessageBoxes.h"
#include "platform/sys/Process.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

constexpr const char* kServerClosedText =
    "We are sorry, but our servers are currently being updated.\rPlease come back, in a few minutes (approx 5 "
    "minutes).\r\rThanks for your patience.";
constexpr const char* kConnectionClosedText =
    "We are sorry, but our servers are currently being updated.\rPlease come back in a few minutes (approx 10-30 "
    "minutes).\r\rThanks for your patience.";

} // namespace

ServerSocket::ServerSocket(MessageBoxes& boxes, ProcessExit& exit) : boxes_(boxes), exit_(exit)
{
    QObject::connect(&socket_, &QTcpSocket::connected, [this] { connected_ = true; });
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { readWaiting(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError e) { onError(e); });
    QObject::connect(&socket_, &QTcpSocket::disconnected,
                     [this] { end(kConnectionClosedText, BoxIcon::Information); });
}

ServerSocket::~ServerSocket()
{
    // Closing our own end is no end of the process: stop listening first.
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    socket_.abort();
}

void ServerSocket::connectToServer(const GameServerAddress& address)
{
    trace("connecting to %s:%u", address.host.c_str(), unsigned{address.port});
    socket_.connectToHost(QString::fromStdString(address.host), address.port);
}

bool ServerSocket::waitForConnected(int timeoutMs)
{
    return socket_.waitForConnected(timeoutMs);
}

void ServerSocket::sendLine(std::string_view text)
{
    const auto bytes = wireBytes(text);
    if (!bytes) {
        trace("send: a text of %zu bytes does not fit the send buffer; not sent", text.size());
        return;
    }
    if (socket_.write(bytes->data(), static_cast<qint64>(bytes->size())) < 0) {
        trace("%d", static_cast<int>(socket_.error()));
        return;
    }
    // Before the connection completes Qt keeps the bytes and sends them once
    // it does; pushing them out early would fail the socket.
    if (socket_.state() == QAbstractSocket::ConnectedState)
        socket_.flush();
}

// Qt signals readyRead once for whatever is waiting, however much it is:
// read until nothing is left, or the rest would wait for the next packet.
void ServerSocket::readWaiting()
{
    if (reading_)
        return;
    reading_ = true;
    char chunk[kReceiveChunkSize];
    while (!ended_ && socket_.bytesAvailable() > 0) {
        const qint64 n = socket_.read(chunk, sizeof chunk);
        if (n <= 0)
            break;   // a receive error: the next notification tries again
        assembler_.feed(chunk, static_cast<std::size_t>(n), [this](char* line, std::size_t) {
            if (receiver_ != nullptr && !ended_)
                receiver_->dispatchLine(line);
        });
    }
    reading_ = false;
}

void ServerSocket::onError(QAbstractSocket::SocketError error)
{
    trace("server connection: %s", socket_.errorString().toUtf8().constData());
    if (error == QAbstractSocket::RemoteHostClosedError) {
        end(kServerClosedText, BoxIcon::None);
    } else if (!connected_) {
        // Refused, unreachable, unknown host: the servers are not there.
        end(kConnectionClosedText, BoxIcon::Information);
    }
    // Other errors on a live connection end in disconnected.
}

void ServerSocket::end(const char* text, BoxIcon icon)
{
    if (ended_)
        return;
    // Lines that arrived before the end are still the server's last word.
    readWaiting();
    ended_ = true;
    BoxRequest box;
    box.text = text;
    box.caption = "Tessaly System Message";
    box.icon = icon;
    box.systemModal = true;
    boxes_.show(box);
    exit_.exitProcess(1);
}

} // namespace tessaly
