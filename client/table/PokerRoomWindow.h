#pragma once
// The table window: one poker table, watched or played at. It owns no game
// state: it reads and writes its table's record, sends through the one send
// operation and redraws itself from its timers.
//
// The window assembles its parts and runs the frame step over them in a
// fixed order: the drawing (TableFrame), the seat buttons, the betting
// controls, the chat, the buy-in and re-buy dialogs. Its own work is the
// timers, joining a seat, bringing itself forward when the user must act,
// and the leave sequence.

#include <QBasicTimer>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "client/table/HandHistoryFiles.h"
#include "client/table/TableFrame.h"
#include "client/table/TableZoom.h"
#include "platform/MessageBoxes.h"
#include "platform/gui/DialogWindow.h"

namespace tessaly {

class ActionBar;
class BetPresetButtons;
class ChatPictureTable;
class HandLog;
class LineSender;
class OfferButtons;
class OptionPanel;
class PlayerNotes;
class SeatButtons;
class SoundPort;
class TableChat;
class TableKeyboard;
class TableSpeech;
class TableDesk;
class ZoomedControls;
class TablePages;
class dlgGetMoreChips;
class dlgPlayMoneyBuyIn;
struct BettingContext;
struct ClientState;
struct TableState;

inline constexpr const char* kLeaveInHandMessage =
    "If you leave the table, you will be folded out of your hand.\rAre you sure you want to leave the table?";
inline constexpr const char* kLeaveCaption = "Tessaly Warning";
inline constexpr const char* kEscapeMessage = "You sure you want to leave Tessaly";

// What every table window shares with the rest of the client.
struct TableWindowContext {
    ClientState& state;
    LineSender& sender;
    MessageBoxes& boxes;
    SoundPort& sound;
    const TablePages& pages;
    QPointer<QWidget> lobby;              // restored when a table window closes or is minimised
    std::function<void()> showLogin;      // the login dialog, made if need be, in front
    const ChatPictureTable& chatPictures;
    PlayerNotes& notes;                   // the notes windows, one per player name
    TableDesk* desk = nullptr;            // placement and the action queue; none in tests of one window
};

// Dialog 155: 532 x 335 units.
const DialogTemplate& pokerRoomTemplate();

class dlgPokerRoom : public DialogWindow {
    Q_OBJECT
public:
    static constexpr int kFramePeriodMs = 28;
    static constexpr int kBlinkPeriodMs = 800;
    static constexpr int kIdlePeriodMs = 2000;
    static constexpr int kEntropyPeriodMs = 20000;
    static constexpr int kSeatPeriodMs = 600;
    static constexpr int kAttentionPeriodMs = 500;
    // A resize settles this long after the last step of a drag: the window
    // then takes the table's shape and its place is kept.
    static constexpr int kSettlePeriodMs = 300;

    // Initialises the window for the table: its record's window flags, the
    // timers, the pictures, and "WATCH_TABLE:" to the server.
    dlgPokerRoom(TableWindowContext& context, int tableId, std::string tableName, QWidget* parent = nullptr);
    ~dlgPokerRoom() override;

    int tableId() const { return tableId_; }
    const std::string& tableName() const { return tableName_; }

    // One 28 ms frame: the parts look at the record, and the picture is
    // drawn again when it changed. Tests call it directly.
    void frameStep();
    // The 600 ms tick: the buy-in once the balance is in, a seat chosen
    // before login taken up.
    void seatStep();

    // A click on the seat button of `seat`.
    void requestSeat(int seat);
    // "Get More Chips": the re-buy dialog, after its checks.
    void getMoreChips();

    enum class LeaveBy { CloseBox, LeaveButton };
    // Asks first when leaving folds the user's hand; then tells the server,
    // resets the table's record, drops the name from the open tables,
    // destroys the window and restores the lobby. False when the user stays.
    bool leave(LeaveBy by);
    bool isLeaving() const { return leaving_; }

    dlgPlayMoneyBuyIn* buyInDialog() const;
    dlgGetMoreChips* rebuyDialog() const;
    const TableFrame& frame() const { return frame_; }
    const HandLog& handLog() const { return *handLog_; }

    // The client area at zoom 1 (the layout of dialog 155 at the screen
    // scale, with the hand log's pane beside it), the table's own part of
    // it, and the zoom the window shows the table at now.
    Extent baseClient() const;
    Extent baseTable() const;
    double zoom() const { return zoom_; }
    void setClientSize(QSize size);
    // Restored if minimised, on top, active.
    void comeForward();
    // The keyboard to the action bar's first control on show.
    void focusActionBar();

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    TableState& table();
    ClientState& state() { return context_.state; }
    LineSender& sender() { return context_.sender; }
    MessageBoxes& boxes() { return context_.boxes; }
    BoxAnswer ask(BoxRequest box);

    void setUpNavigationButtons();
    void forwardStep(bool waiting);
    void settle();
    void sendEntropy();
    bool isForeground() const;
    void openBuyIn();
    void openRebuy();
    void restoreLobby();
    void stopTimers();
    void describeTable();
    void openPlayerMenu(const QPoint& position);
    void showPlayerMenu(int seat, const QPoint& globalPosition);
    void setUpKeyboard();
    void followHand();

    TableWindowContext& context_;
    const int tableId_;
    const std::string tableName_;
    bool leaving_ = false;

    TableFrame frame_;
    std::unique_ptr<BettingContext> betting_;
    SeatButtons* seats_ = nullptr;
    std::unique_ptr<ActionBar> actionBar_;
    std::unique_ptr<OptionPanel> options_;
    std::unique_ptr<OfferButtons> offers_;
    std::unique_ptr<TableChat> chat_;
    std::unique_ptr<BetPresetButtons> presets_;
    TableSpeech* speech_ = nullptr;
    TableKeyboard* keyboard_ = nullptr;
    std::unique_ptr<HandLog> handLog_;
    HandHistoryFiles handHistories_{handHistoryFolder()};
    QPointer<dlgPlayMoneyBuyIn> buyIn_;
    QPointer<dlgGetMoreChips> rebuy_;
    std::string description_;
    std::unique_ptr<ZoomedControls> zoomed_;
    double zoom_ = 1.0;
    // The turn asked the window forward; it waits for the idle rule.
    bool forwardPending_ = false;
    bool alerted_ = false;

    QBasicTimer frameTimer_;
    QBasicTimer blinkTimer_;
    QBasicTimer idleTimer_;
    QBasicTimer entropyTimer_;
    QBasicTimer seatTimer_;
    QBasicTimer attentionTimer_;
    QBasicTimer settleTimer_;
};

} // namespace tessaly
