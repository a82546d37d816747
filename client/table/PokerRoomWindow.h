#pragma once
// The table window: one poker table, watched or played at. It owns no game
// state: it reads and writes its table's record, sends through the one send
// operation and redraws itself from its timers.
//
// This class is the window's frame: creation from dialog 155 with
// "WATCH_TABLE:", the background through a back buffer on the 28 ms frame
// timer, the blink, entropy and attention timers, the navigation buttons and
// the leave sequence. Seats, betting, buy-ins and chat add their controls and
// frame steps to it.

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <string>

#include "client/ui/Picture.h"
#include "platform/MessageBoxes.h"
#include "platform/gui/DialogWindow.h"

namespace tessaly {

class LineSender;
class PageOpener;
struct ClientState;
struct TableState;

inline constexpr const char* kLeaveInHandMessage =
    "If you leave the table, you will be folded out of your hand.\rAre you sure you want to leave the table?";
inline constexpr const char* kLeaveCaption = "Tessaly Warning";

// What every table window shares with the rest of the client.
struct TableWindowContext {
    ClientState& state;
    LineSender& sender;
    MessageBoxes& boxes;
    const PageOpener& pages;
    QPointer<QWidget> lobby;   // restored when a table window closes or is minimised
};

// Dialog 155: 532 x 335 units.
const DialogTemplate& pokerRoomTemplate();

class dlgPokerRoom : public DialogWindow {
    Q_OBJECT
public:
    static constexpr int kFramePeriodMs = 28;
    static constexpr int kBlinkPeriodMs = 800;
    static constexpr int kEntropyPeriodMs = 20000;
    static constexpr int kAttentionPeriodMs = 500;

    // Initialises the window for the table: its record's window flags, the
    // timers, the background picture, and "WATCH_TABLE:" to the server.
    dlgPokerRoom(TableWindowContext& context, int tableId, std::string tableName, QWidget* parent = nullptr);
    ~dlgPokerRoom() override;

    int tableId() const { return tableId_; }
    const std::string& tableName() const { return tableName_; }

    enum class LeaveBy { CloseBox, LeaveButton };
    // Asks first when leaving folds the user's hand; then tells the server,
    // resets the table's record, drops the name from the open tables,
    // destroys the window and restores the lobby. False when the user stays.
    bool leave(LeaveBy by);
    bool isLeaving() const { return leaving_; }

protected:
    TableState& table();
    ClientState& state() { return context_.state; }
    LineSender& sender() { return context_.sender; }
    MessageBoxes& boxes() { return context_.boxes; }

    // Draws one frame; the table's steps come between the background and the
    // copy to the window.
    virtual void drawFrame(QPainter& target);

    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setUpNavigationButtons();
    void loadBackground();
    void sendEntropy();
    void restoreLobby();
    void stopTimers();

    TableWindowContext& context_;
    const int tableId_;
    const std::string tableName_;
    bool leaving_ = false;

    Picture background_;
    QPixmap backgroundCache_;
    QPixmap backBuffer_;

    QBasicTimer frameTimer_;
    QBasicTimer blinkTimer_;
    QBasicTimer entropyTimer_;
    QBasicTimer attentionTimer_;
};

} // namespace tessaly
