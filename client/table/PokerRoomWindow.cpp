#include "client/table/PokerRoomWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>

#include <chrono>

#include "client/lobby/PageOpener.h"
#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "client/table/TableWindowRules.h"
#include "client/ui/SkinButton.h"
#include "client/ui/SkinButtonFaces.h"
#include "client/ui/SkinControls.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

enum Control { kViewLobby = 1033, kLeaveTable = 1034, kInviteFriend = 1060 };

constexpr SkinButtonFace kNavigationButtons[] = {
    {kViewLobby, 203, 181, "Click to view the poker lobby."},
    {kLeaveTable, 204, 180,
     "Click to leave table.\r\nIf seated, cash on the table\r\nwill be deposited into your account."},
    {kInviteFriend, 201, 183, "Click to invite a friend to play."},
};

// The navigation buttons sit in the panel below the table, right of the
// option labels; the placeholder caption is replaced when the lobby opens
// the window.
const DialogTemplate kPokerRoom{
    .resource = 155,
    .caption = "Poker Room",
    .width = 532,
    .height = 335,
    .flags = dlg::SystemMenu | dlg::MinimizeBox | dlg::HandCursorOverButtons,
    .controls = {
        {.id = kViewLobby, .kind = ControlKind::SkinButton, .rect = {452, 286, 75, 15}, .text = "View Lobby"},
        {.id = kInviteFriend, .kind = ControlKind::SkinButton, .rect = {373, 304, 75, 15}, .text = "Invite A Friend"},
        {.id = kLeaveTable, .kind = ControlKind::SkinButton, .rect = {452, 304, 75, 15}, .text = "Leave Table"},
    }};

// The low 32 bits of a high-resolution counter.
std::uint32_t highResolutionCount()
{
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

} // namespace

const DialogTemplate& pokerRoomTemplate() { return kPokerRoom; }

dlgPokerRoom::dlgPokerRoom(TableWindowContext& context, int tableId, std::string tableName, QWidget* parent)
    : DialogWindow(kPokerRoom, skinDialogBuilder(), parent), context_(context), tableId_(tableId),
      tableName_(std::move(tableName))
{
    trace("TABLE ID: from oninit: %d", tableId_);
    TableState& T = table();
    T.sittingOut = 0;
    T.promptSetUp = 0;
    T.blinkWord = 1;

    frameTimer_.start(kFramePeriodMs, this);
    blinkTimer_.start(kBlinkPeriodMs, this);
    entropyTimer_.start(kEntropyPeriodMs, this);
    attentionTimer_.start(kAttentionPeriodMs, this);

    setUpNavigationButtons();
    loadBackground();
    sender().sendLine(watchTableMessage(tableId_));
}

dlgPokerRoom::~dlgPokerRoom() = default;

TableState& dlgPokerRoom::table()
{
    return state().tables[static_cast<std::size_t>(tableId_)];
}

void dlgPokerRoom::setUpNavigationButtons()
{
    setUpSkinButtons(*this, kNavigationButtons);
    connect(control<SkinButton>(kViewLobby), &QAbstractButton::clicked, this, [this] {
        restoreLobby();
        if (context_.lobby)
            context_.lobby->activateWindow();
    });
    connect(control<SkinButton>(kLeaveTable), &QAbstractButton::clicked, this,
            [this] { leave(LeaveBy::LeaveButton); });
    connect(control<SkinButton>(kInviteFriend), &QAbstractButton::clicked, this,
            [this] { context_.pages.open(pages::TellAFriend); });
}

void dlgPokerRoom::loadBackground()
{
    const bool sixSeats = table().seatCount == 6;
    if (background_.load(sixSeats ? "images/sixseattablePlayMoney.jpg" : "images/PokerCover.jpg") != Picture::kLoaded) {
        BoxRequest box{sixSeats ? "ERROR LOADING sixseattablePlayMoney.JPG" : "ERROR LOADING POKERCOVER.JPG", ""};
        box.owner = this;
        boxes().show(box);
    }
}

void dlgPokerRoom::drawFrame(QPainter& target)
{
    const QRect client = clientRect();
    if (backBuffer_.size() != client.size())
        backBuffer_ = QPixmap(client.size());
    if (backgroundCache_.isNull()) {
        backgroundCache_ = QPixmap(client.size());
        backgroundCache_.fill(Qt::black);
        QPainter painter(&backgroundCache_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        background_.drawStretched(painter, QRect(QPoint(0, 0), client.size()));
    }
    QPainter painter(&backBuffer_);
    painter.drawPixmap(0, 0, backgroundCache_);
    painter.end();
    target.drawPixmap(client.topLeft(), backBuffer_);
}

void dlgPokerRoom::paintEvent(QPaintEvent*)
{
    if (leaving_ || isMinimized())
        return;
    QPainter painter(this);
    drawFrame(painter);
}

void dlgPokerRoom::timerEvent(QTimerEvent* event)
{
    const int id = event->timerId();
    if (id == frameTimer_.timerId()) {
        update(clientRect());
    } else if (id == blinkTimer_.timerId()) {
        TableState& T = table();
        T.blinkWord = T.blinkWord == 0 ? 1 : 0;
    } else if (id == entropyTimer_.timerId()) {
        sendEntropy();
    } else if (id == attentionTimer_.timerId()) {
        // Flashing stops by itself once the window is activated.
        if (table().userToAct == 1 && isMinimized())
            QApplication::alert(this);
    } else {
        DialogWindow::timerEvent(event);
    }
}

void dlgPokerRoom::sendEntropy()
{
    const QPoint cursor = QCursor::pos();
    const std::int32_t number = entropyNumber(static_cast<std::uint32_t>(cursor.x()),
                                              static_cast<std::uint32_t>(cursor.y()), highResolutionCount());
    sender().sendLine(entropyMessage(tableId_, number));
}

void dlgPokerRoom::stopTimers()
{
    frameTimer_.stop();
    blinkTimer_.stop();
    entropyTimer_.stop();
    attentionTimer_.stop();
}

bool dlgPokerRoom::leave(LeaveBy by)
{
    if (leaving_)
        return true;
    TableState& T = table();
    if (leavingFoldsTheHand(T)) {
        BoxRequest box{kLeaveInHandMessage, kLeaveCaption};
        box.icon = by == LeaveBy::CloseBox ? BoxIcon::Exclamation : BoxIcon::None;
        box.buttons = BoxButtons::YesNo;
        box.owner = this;
        if (boxes().show(box) != BoxAnswer::Yes)
            return false;
    }
    leaving_ = true;
    backBuffer_ = QPixmap();
    backgroundCache_ = QPixmap();
    background_ = Picture();
    if (T.userSeatedHere == 1)
        state().session.seatedSomewhere = 0;
    stopTimers();
    sender().sendLine(closeWindowMessage(tableId_));
    resetClosedTable(T);
    removeOpenTable(state().session.openTableNames, tableName_);
    hide();
    deleteLater();
    restoreLobby();
    return true;
}

void dlgPokerRoom::restoreLobby()
{
    if (context_.lobby)
        context_.lobby->showNormal();
}

void dlgPokerRoom::closeEvent(QCloseEvent* event)
{
    // The window goes only through the leave sequence, which destroys it.
    event->ignore();
    leave(LeaveBy::CloseBox);
}

void dlgPokerRoom::keyPressEvent(QKeyEvent* event)
{
    // Escape would close the dialog behind the leave sequence's back.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    DialogWindow::keyPressEvent(event);
}

void dlgPokerRoom::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        restoreLobby();
    DialogWindow::changeEvent(event);
}

} // namespace tessaly
