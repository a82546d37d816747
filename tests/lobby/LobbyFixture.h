#pragma once
// What the lobby and table window tests share: the client's state, a
// recording sender, scripted boxes, recorders for the program starts, the
// process exit and the browser, start-up steps that record their order, and
// stand-ins for the account dialogs (their own tests drive the real ones).

#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "client/lobby/LobbyDialogs.h"
#include "client/lobby/LobbyHost.h"
#include "client/lobby/LobbyWindow.h"
#include "client/lobby/PageOpener.h"
#include "client/dispatch/Dispatcher.h"
#include "client/table/ClientState.h"
#include "client/table/PlayerNotes.h"
#include "client/ui/ChatLog.h"
#include "client/ui/SoundPlayer.h"
#include "platform/audio/AudioDevice.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/RecordingUrlOpener.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {

// The install's pictures are read from the current directory, as in the
// program, which enters its own directory at start-up.
inline void enterInstallDirectory()
{
    ASSERT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR"))));
}

class RecordingHost final : public LobbyHost {
public:
    struct Step {
        std::string name;
        std::vector<std::string> sentBefore;   // what had been sent when the step ran
    };

    explicit RecordingHost(const RecordingSender& sender) : sender_(sender) {}

    void connectToGameServer() override { step("connect"); }
    void readVersionFiles() override { step("versions"); }
    void enterProgramDirectory() override
    {
        step("directory");
        enterInstallDirectory();
    }
    bool runVersionDecision() override
    {
        step("decision");
        return updaterStarts;
    }
    bool runLatencyGate(QWidget* lobby) override
    {
        step("gate");
        gateOwner = lobby;
        return gateRefuses;
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const Step& s : steps)
            result.push_back(s.name);
        return result;
    }

    bool updaterStarts = false;
    bool gateRefuses = false;
    QWidget* gateOwner = nullptr;
    std::vector<Step> steps;

private:
    void step(const char* name) { steps.push_back({name, sender_.lines}); }
    const RecordingSender& sender_;
};

class FakeDialogs final : public LobbyDialogs {
public:
    QDialog* createLogin() override
    {
        auto* login = new QDialog;
        login->setWindowTitle(QStringLiteral("login"));
        logins.push_back(login);
        return login;
    }
    void focusScreenName(QDialog& login) override { focused.push_back(&login); }
    void runRegistration(QDialog& login) override { registrations.push_back(&login); }
    void runCashier(QWidget* owner) override { cashiers.push_back(owner); }
    void runSoftwareNotes(QWidget* owner) override { notes.push_back(owner); }
    void runAbout(QWidget* owner) override { abouts.push_back(owner); }

    std::vector<QDialog*> logins;   // every login dialog made, in order
    std::vector<QDialog*> focused;
    std::vector<QDialog*> registrations;
    std::vector<QWidget*> cashiers;
    std::vector<QWidget*> notes;
    std::vector<QWidget*> abouts;
};

class SilentAudio final : public AudioDevice {
public:
    void playWave(const std::string&) override {}
    void stopWave() override {}
    bool openMusic(const std::string&) override { return false; }
    void playMusicFromStart() override {}
    void stopMusic() override {}
};

class LobbyFixture : public ::testing::Test {
protected:
    // A lobby through its whole initialisation, shown.
    dlgLobby& openLobby()
    {
        lobby = std::make_unique<dlgLobby>(context);
        EXPECT_TRUE(lobby->initialise());
        lobby->show();
        return *lobby;
    }

    // A server line through the real dispatcher; its own boxes go to `server`.
    void serverSays(std::string_view line) { dispatcher.dispatchLine(line); }

    // A table-list reply with the tables named, each given as
    // {name, game type, stakes, players, seats, average pot}.
    struct Listed {
        std::string name;
        int gameType;
        std::string stakes;
        int players;
        int seats;
        int averagePot;
    };
    void serverListsTables(const std::vector<Listed>& tables, const std::string& time = "10:15", int users = 7)
    {
        std::string line = "START_TABLE";
        for (const Listed& t : tables)
            line += "\tT\t" + t.name + "\tG\t" + std::to_string(t.gameType) + "\tM\t" + std::to_string(t.seats) +
                    "\tS\t" + t.stakes + "\tPR\t" + std::to_string(t.players) + "\tVX:\t" +
                    std::to_string(t.averagePot) + "\tHR\t0";
        line += "\tTE:\t" + time + "\t" + std::to_string(users) + "\t" + std::to_string(tables.size()) +
                "\tEND_TABLE";
        serverSays(line);
    }

    // The lines sent, from the n-th on.
    std::vector<std::string> sentSince(std::size_t n) const
    {
        return {sender.lines.begin() + static_cast<std::ptrdiff_t>(std::min(n, sender.lines.size())),
                sender.lines.end()};
    }

    QTemporaryDir programDirectory;
    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    testing::RecordingExit exit;
    testing::RecordingLauncher launcher;
    SilentAudio audio;
    SoundPlayer sound{audio};
    RecordingHost host{sender};
    FakeDialogs dialogs;
    RecordingUrlOpener desktop;
    ClientConfig config{"http://web.test", "https://secure.test", "127.0.0.1"};
    PageOpener pages{config, desktop, launcher, ""};
    ChatPictureTable chatPictures;
    PlayerNotes notes{boxes};
    LobbyContext context{state,  sender, boxes, exit, launcher, sound, host, dialogs, pages,
                         programDirectory.path().toStdString(), chatPictures, notes};
    ScriptedMessageBoxes serverBoxes;
    RecordingSender serverSender;
    testing::RecordingExit serverExit;
    Dispatcher dispatcher{state, {serverSender, sound, serverBoxes, serverExit}};
    std::unique_ptr<dlgLobby> lobby;   // goes first, before the state it reads
};

} // namespace tessaly
