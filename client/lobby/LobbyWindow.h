#pragma once
// The lobby: the client's main window, whose life is the life of the
// process. Its initialisation runs the start-up sequence; then it shows the
// room's picture with the live server line, the banner of web links, the
// table and player lists, the skinned buttons and menu 129, and it opens
// the login dialog, the cashier, the web pages and the table windows.
//
// It polls the session values on its timers: 1 (500 ms) greets the user
// once logged in, 2 (60 s) asks for the table list, 500 (600 ms) refills the
// table list, 7 (600 ms) swaps the buttons after the login and opens a
// cashier asked for before it, 5 (20 ms) refills the player list and
// redraws the text lines. Whenever it asks for the table list (timer 2,
// Refresh, a restore from minimised) it asks again for the players of the
// table last clicked.

#include <QBasicTimer>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "client/lobby/LobbyBackdrop.h"
#include "client/table/PokerRoomWindow.h"
#include "client/ui/Picture.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/ScreenReader.h"

class QTreeWidget;

namespace tessaly {

class ChatPictureTable;
class LineSender;
class LobbyDialogs;
class LobbyHost;
class LobbyKeyboard;
class PageOpener;
class PlayerNotes;
class ProcessExit;
class ProcessLauncher;
class SoundPlayer;
class TableDesk;
struct ClientState;

struct LobbyContext {
    ClientState& state;
    LineSender& sender;
    MessageBoxes& boxes;
    ProcessExit& exit;
    ProcessLauncher& launcher;   // the network monitor
    SoundPlayer& sound;
    LobbyHost& host;
    LobbyDialogs& dialogs;
    const PageOpener& pages;
    std::filesystem::path programDirectory;   // where "settings.txt" lives
    const ChatPictureTable& chatPictures;     // the table windows' chat pictures
    PlayerNotes& notes;                       // the notes windows, one per player
    // Whether a screen reader runs: "Speak table events" until the user chooses.
    std::function<bool()> screenReaderRunning = screenReaderEnabled;
};

inline constexpr const char* kLeaveLobbyMessage = "You sure you want to leave Tessaly";
inline constexpr const char* kAlreadyLoggedInMessage = "You are currenly logged in";
inline constexpr const char* kCashierNeedsLoginMessage = "Must be logged into access cashier";
inline constexpr const char* kTableAlreadyOpenMessage = "Sorry this table is already open!";
inline constexpr const char* kBackgroundFailedMessage = "error on load";

class dlgLobby : public DialogWindow {
    Q_OBJECT
public:
    static constexpr int kCaptionPeriodMs = 500;       // timer 1
    static constexpr int kTableListPeriodMs = 60000;   // timer 2
    static constexpr int kRefillPeriodMs = 600;        // timer 500
    static constexpr int kSwapPeriodMs = 600;          // timer 7
    static constexpr int kFramePeriodMs = 20;          // timer 5
    static constexpr int kConnectWaitMs = 200;

    explicit dlgLobby(LobbyContext& context, QWidget* parent = nullptr);
    ~dlgLobby() override;

    // The start-up sequence, then the visual set-up. False when the process
    // was told to end on the way (the updater, the latency gate).
    bool initialise();

    // A command of the menu, a button or the window menu, by id.
    void runCommand(int id);
    void openHandHistories();

    QDialog* loginDialog() const { return login_.data(); }
    bool swapDone() const { return swapDone_; }
    bool cashierAfterLogin() const { return cashierAfterLogin_; }
    // The table windows still open.
    std::vector<dlgPokerRoom*> tableWindows() const;
    const LobbyBackdrop& backdrop() const { return backdrop_; }
    // False while minimised: nobody sees the frames then.
    bool drawsFrames() const { return frameTimer_.isActive(); }

    QTreeWidget* tableList() const;
    QTreeWidget* playerList() const;

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void done(int result) override;

private:
    void connectCommands();
    void visualSetUp();
    void setUpButtons();
    void setUpBanner();
    void startTimer(QBasicTimer& timer, int periodMs) { timer.start(periodMs, this); }

    void requestTableList();
    void requestPlayers(int row);
    void openTable(int row);
    void showLoginDialog(bool focusScreenName);
    void openCashier();
    void swapAfterLogin();
    void frameTick();
    void toggleSmileys();
    void teardown();
    bool loggedIn() const;

    LobbyContext& context_;
    TableDesk* desk_;   // a child of the lobby: the table windows' placement and queue
    TableWindowContext tableContext_;
    QPointer<QDialog> login_;
    std::vector<QPointer<dlgPokerRoom>> tables_;
    std::unique_ptr<LobbyKeyboard> keyboard_;

    Picture background_;
    LobbyBackdrop backdrop_;
    bool swapDone_ = false;
    bool cashierAfterLogin_ = false;
    bool tornDown_ = false;
    bool shownOnce_ = false;
    bool framesResting_ = false;   // the frame timer stopped by a minimising
    int playersRow_ = -1;   // the table whose players were last asked for

    QBasicTimer captionTimer_;
    QBasicTimer tableListTimer_;
    QBasicTimer refillTimer_;
    QBasicTimer swapTimer_;
    QBasicTimer frameTimer_;
};

} // namespace tessaly
