// The real client against the real house server, on loopback, on a virtual
// X display: start-up asks for the table list, a remembered login is
// submitted with the Enter key and accepted, the lobby greets the user, and
// closing the lobby with Escape and OK ends the program with exit code 0.
//
// The test watches the server's transcript (--log) and the client's traces,
// finds and types into the client's windows with xdotool, and polls
// everything with deadlines.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

#include "client/lobby/RememberedLogin.h"
#include "tests/support/EndToEnd.h"

namespace tessaly {
namespace {

using namespace e2e;

class ClientEndToEnd : public ::testing::Test {
protected:
    // xdotool's output, or empty when it failed (no such window yet).
    QString xdotool(const QStringList& arguments)
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        if (!tool.waitForFinished(5000) || tool.exitCode() != 0)
            return {};
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    QString windowNamed(const QString& pattern)
    {
        return xdotool({QStringLiteral("search"), QStringLiteral("--name"), pattern}).section(QLatin1Char('\n'), 0, 0);
    }
    // Gives the window the keyboard and presses the key.
    void pressIn(const QString& window, const QString& key)
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), key});
    }
    // Presses the key in the window until the condition holds: a key that
    // went astray before the window had the keyboard is pressed again.
    bool pressUntil(const QString& window, const QString& key, const std::function<bool()>& condition)
    {
        QDeadlineTimer deadline(kStepMs);
        while (!deadline.hasExpired()) {
            pressIn(window, key);
            if (pollUntil(condition, 2000))
                return true;
        }
        return false;
    }
    // The server's transcript of every connection so far, whole lines only:
    // the server may be halfway through the last one.
    QString transcript() const
    {
        QString text;
        for (const QString& name : QDir(logDir).entryList({QStringLiteral("conn-*.txt")}, QDir::Files)) {
            QFile file(logDir + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = file.readAll();
                text += QString::fromUtf8(bytes.left(bytes.lastIndexOf('\n') + 1));
            }
        }
        return text;
    }

    QTemporaryDir root;
    QString display;
    QString logDir = root.filePath(QStringLiteral("log"));
};

TEST_F(ClientEndToEnd, StartsLogsInAndGreetsTheUser)
{
    requirePrograms({"Xvfb", "xdotool"});
    ASSERT_TRUE(QDir().mkpath(logDir));

    VirtualDisplay screen(root.filePath(QStringLiteral("xvfb.err")));
    ASSERT_FALSE(screen.display.isEmpty()) << "Xvfb gave no display";
    display = screen.display;

    HouseServer server(root.filePath(QStringLiteral("data")), logDir, root.filePath(QStringLiteral("house.err")));
    ASSERT_TRUE(server.ready()) << server.house.errors().toStdString();

    // An account to log in with, made as another client would.
    const std::string name = "e2e" + std::to_string(QCoreApplication::applicationPid() % 100000);
    const std::string password = "secret7";
    {
        QTcpSocket socket;
        socket.connectToHost(server.gameHost, server.gamePort.toUShort());
        ASSERT_TRUE(socket.waitForConnected(kStepMs));
        const std::string request = "REGISTER_PLAYER:\t" + name + "\t" + password + "\t" + name + "@example.org\r";
        socket.write(request.c_str(), static_cast<qint64>(request.size() + 1));
        QByteArray reply;
        QDeadlineTimer deadline(kStepMs);
        // The server hashes the password first, which takes a while on a
        // busy machine: wait for the whole deadline, not one read's.
        while (!reply.contains("REG_SUCCESS") && !deadline.hasExpired()) {
            if (socket.waitForReadyRead(500))
                reply += socket.readAll();
        }
        ASSERT_TRUE(reply.contains("REG_SUCCESS")) << reply.toStdString();
    }
    // The login dialog opens with the remembered pair filled in.
    const QString config = root.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config));
    NoSecretStore noKeyring;
    RememberedLogin(noKeyring, config + QStringLiteral("/Tessaly.conf")).write({name, password});

    const QProcessEnvironment environment = server.clientEnvironment(display, root.path());
    Program client(envPath("TESSALY_DIST_DIR", "Tessaly"), {}, root.filePath(QStringLiteral("client.err")),
                   environment);
    ASSERT_TRUE(client.started());

    EXPECT_TRUE(pollUntil([&] { return transcript().contains(QStringLiteral("< LIST_TABLES")); }, kStartMs))
        << transcript().toStdString();

    QString login;
    ASSERT_TRUE(pollUntil([&] { return !(login = windowNamed(QStringLiteral("Login to Tessaly"))).isEmpty(); },
                          kStartMs))
        << client.errors().toStdString();
    // Enter anywhere in the login dialog submits it.
    ASSERT_TRUE(pressUntil(login, QStringLiteral("Return"),
                           [&] { return transcript().contains(QStringLiteral("< LOGIN:")); }));
    const bool accepted =
        pollUntil([&] { return transcript().contains(QStringLiteral("> LOGIN_SUCCESS")); }, kStepMs);
    ASSERT_TRUE(accepted) << transcript().toStdString();

    const QString greeting = QStringLiteral(" Welcome to Tessaly Lobby Good Luck %1 !!!").arg(QString::fromStdString(name));
    QString lobby;
    ASSERT_TRUE(pollUntil([&] { return !(lobby = windowNamed(greeting)).isEmpty(); },
                          kStepMs))
        << client.errors().toStdString();
    EXPECT_TRUE(pollUntil([&] { return client.errors().contains(QStringLiteral("tables listed")); }, kStepMs));
    // The login dialog has gone.
    EXPECT_TRUE(pollUntil([&] { return windowNamed(QStringLiteral("Login to Tessaly")).isEmpty(); }, kStepMs));

    // Escape asks; OK closes the lobby, which ends the program normally.
    QString question;
    ASSERT_TRUE(pressUntil(lobby, QStringLiteral("Escape"), [&] {
        return !(question = windowNamed(QStringLiteral("^Tessaly Warning$"))).isEmpty();
    }));
    ASSERT_TRUE(pressUntil(question, QStringLiteral("Return"), [&] { return client.process().waitForFinished(100); }));
    EXPECT_EQ(client.process().exitStatus(), QProcess::NormalExit) << client.errors().toStdString();
    EXPECT_EQ(client.process().exitCode(), 0);
}

} // namespace
} // namespace tessaly
