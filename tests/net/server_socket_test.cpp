#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <string>
#include <vector>

#include "client/net/ClientMessages.h"
#include "client/net/LineReceiver.h"
#include "client/net/ServerSocket.h"
#include "client/dispatch/EffectRecorder.h"
#include "tests/support/EffectPrint.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

const char* const kServerClosed =
    "We are sorry, but our servers are currently being updated.\rPlease come back, in a few minutes (approx 5 "
    "minutes).\r\rThanks for your patience.";
const char* const kConnectionClosed =
    "We are sorry, but our servers are currently being updated.\rPlease come back in a few minutes (approx 10-30 "
    "minutes).\r\rThanks for your patience.";

// A literal with its embedded NULs, without the compiler's final one.
template <std::size_t N>
QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

struct LineLog final : LineReceiver {
    std::vector<std::string> lines;
    void dispatchLine(char* line) override { lines.emplace_back(line); }
};

// A client connection to a real QTcpServer peer on loopback.
class Loopback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        socket.setLineReceiver(lines);
        socket.connectToServer({"127.0.0.1", server.serverPort()});
    }

    QTcpSocket* acceptPeer()
    {
        if (!waitUntil([&] { return server.hasPendingConnections(); }))
            return nullptr;
        return server.nextPendingConnection();
    }

    QByteArray receive(QTcpSocket* peer, int bytes)
    {
        QByteArray got;
        waitUntil([&] {
            got += peer->readAll();
            return got.size() >= bytes;
        });
        return got;
    }

    QTcpServer server;
    EffectRecorder recorder;
    LineLog lines;
    ServerSocket socket{recorder, recorder};
};

TEST_F(Loopback, SendsExactBytesEvenBeforeTheConnectionCompletes)
{
    socket.sendLine(listTablesMessage());   // still connecting
    QTcpSocket* peer = acceptPeer();
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(receive(peer, 12), bytes("LIST_TABLES\0"));
    socket.sendLine(imBackMessage(4));
    socket.sendLine(joinGameMessage("ann", 3, 5, 12.5f));
    const QByteArray expected = bytes("IM_BACK:\t4\r\0JOIN_GAME:\tann\t3\t5\t12.5\0");
    EXPECT_EQ(receive(peer, static_cast<int>(expected.size())), expected);
}

TEST_F(Loopback, AssemblesLinesAcrossChunksAndReadsEverythingWaiting)
{
    QTcpSocket* peer = acceptPeer();
    ASSERT_NE(peer, nullptr);
    peer->write("LOGIN_SUCCESS\rHISTORY_");
    peer->flush();
    ASSERT_TRUE(waitUntil([&] { return lines.lines.size() == 1; }));
    peer->write("DEALER:\t1");
    peer->flush();
    peer->write("\t2\r");
    peer->flush();
    ASSERT_TRUE(waitUntil([&] { return lines.lines.size() == 2; }));
    EXPECT_EQ(lines.lines[0], "LOGIN_SUCCESS");
    EXPECT_EQ(lines.lines[1], "HISTORY_DEALER:\t1\t2");

    // Far more than one receive chunk in a single write.
    std::string burst;
    for (int i = 0; i < 2000; ++i)
        burst += "USER_MONEY:\t3\t" + std::to_string(i % 10) + "\t" + std::to_string(i) + "\r";
    ASSERT_GT(burst.size(), 6 * 5095u);
    peer->write(burst.data(), static_cast<qint64>(burst.size()));
    peer->flush();
    ASSERT_TRUE(waitUntil([&] { return lines.lines.size() == 2002; })) << lines.lines.size();
    EXPECT_EQ(lines.lines.back(), "USER_MONEY:\t3\t9\t1999");
    EXPECT_TRUE(recorder.effects().empty());
}

TEST_F(Loopback, ServerClosingEndsTheProcessAfterItsLastLines)
{
    QTcpSocket* peer = acceptPeer();
    ASSERT_NE(peer, nullptr);
    peer->write("SM:\tbye\r");
    peer->flush();
    peer->disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return recorder.exited(); }));
    EXPECT_EQ(lines.lines, std::vector<std::string>{"SM:\tbye"});
    EXPECT_EQ(recorder.effects(), (std::vector<Effect>{Effect::box("Tessaly System Message", kServerClosed, BoxIcon::None),
                                                       Effect::exit(1)}));
}

TEST(ServerSocket, RefusedConnectionSaysTheServersAreUnavailable)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    EffectRecorder recorder;
    ServerSocket socket(recorder, recorder);
    socket.connectToServer({"127.0.0.1", port});
    ASSERT_TRUE(waitUntil([&] { return recorder.exited(); }));
    EXPECT_EQ(recorder.effects(),
              (std::vector<Effect>{Effect::box("Tessaly System Message", kConnectionClosed, BoxIcon::Information),
                                   Effect::exit(1)}));
}

} // namespace
} // namespace tessaly
