#include "client/table/PokerRoomWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>
#include <QPainter>

#include <chrono>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ActionBar.h"
#include "client/table/BetPresetButtons.h"
#include "client/table/BettingControls.h"
#include "client/table/BuyInDialog.h"
#include "client/table/ClientState.h"
#include "client/table/OfferButtons.h"
#include "client/table/OptionPanel.h"
#include "client/table/PlayerNotes.h"
#include "client/table/RebuyDialog.h"
#include "client/table/SeatButtons.h"
#include "client/table/SeatLayout.h"
#include "client/table/TableChat.h"
#include "client/table/TableDescription.h"
#include "client/table/TableKeyboard.h"
#include "client/table/TableSpeech.h"
#include "client/table/TablePages.h"
#include "client/table/TableWindowRules.h"
#include "client/ui/SkinButton.h"
#include "client/ui/SkinButtonFaces.h"
#include "client/ui/SkinControls.h"
#include "platform/sys/QtText.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

enum Control { kGetMoreChips = 1032, kViewLobby = 1033, kLeaveTable = 1034, kInviteFriend = 1060 };

constexpr SkinButtonFace kNavigationButtons[] = {
    {kGetMoreChips, 202, 182,
     "Click to get more chips.\r\nNew chips will be available\r\nat the start of the next hand.", "Get More Chips"},
    {kViewLobby, 203, 181, "Click to view the poker lobby.", "View Lobby"},
    {kLeaveTable, 204, 180,
     "Click to leave table.\r\nIf seated, cash on the table\r\nwill be deposited into your account.", "Leave Table"},
    {kInviteFriend, 201, 183, "Click to invite a friend to play.", "Invite A Friend"},
};

// The panel below the table holds, from the left, the pre-action options,
// the chat, the betting controls and a column of navigation buttons. The
// placeholder caption is replaced when the lobby opens the window.
DialogTemplate makePokerRoomTemplate()
{
    DialogTemplate dialog{
        .resource = 155,
        .caption = "Poker Room",
        .width = 532,
        .height = 335,
        .flags = dlg::SystemMenu | dlg::MinimizeBox | dlg::HandCursorOverButtons,
        .controls = {
            {.id = kGetMoreChips, .kind = ControlKind::SkinButton, .rect = {452, 283, 75, 12}, .text = "Get More Chips"},
            {.id = kViewLobby, .kind = ControlKind::SkinButton, .rect = {452, 296, 75, 12}, .text = "View Lobby"},
            {.id = kInviteFriend, .kind = ControlKind::SkinButton, .rect = {452, 309, 75, 12},
             .text = "Invite A Friend"},
            {.id = kLeaveTable, .kind = ControlKind::SkinButton, .rect = {452, 322, 75, 12}, .text = "Leave Table"},
        }};
    for (auto* part : {&SeatButtons::controls, &bettingControls, &chatControls}) {
        std::vector<ControlTemplate> controls = part();
        dialog.controls.insert(dialog.controls.end(), controls.begin(), controls.end());
    }
    return dialog;
}

// The low 32 bits of a high-resolution counter.
std::uint32_t highResolutionCount()
{
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

} // namespace

const DialogTemplate& pokerRoomTemplate()
{
    static const DialogTemplate dialog = makePokerRoomTemplate();
    return dialog;
}

dlgPokerRoom::dlgPokerRoom(TableWindowContext& context, int tableId, std::string tableName, QWidget* parent)
    : DialogWindow(pokerRoomTemplate(), skinDialogBuilder(), parent), context_(context), tableId_(tableId),
      tableName_(std::move(tableName))
{
    trace("TABLE ID: from oninit: %d", tableId_);
    TableState& T = table();
    T.sittingOut = 0;
    T.promptSetUp = 0;
    T.blinkWord = 1;

    frameTimer_.start(kFramePeriodMs, this);
    blinkTimer_.start(kBlinkPeriodMs, this);
    idleTimer_.start(kIdlePeriodMs, this);
    attentionTimer_.start(kAttentionPeriodMs, this);
    entropyTimer_.start(kEntropyPeriodMs, this);
    seatTimer_.start(kSeatPeriodMs, this);

    seats_ = new SeatButtons(*this, scale(), this);
    connect(seats_, &SeatButtons::seatClicked, this, &dlgPokerRoom::requestSeat);
    setUpNavigationButtons();
    frame_.load(boxes(), this, T.seatCount);
    sender().sendLine(watchTableMessage(tableId_));

    betting_ = std::make_unique<BettingContext>(BettingContext{
        .table = T, .tableId = tableId_, .sender = sender(), .boxes = boxes(), .owner = this,
        .chatInput = [this] { return chat_ ? chat_->input() : nullptr; },
        .getMoreChips = [this] { getMoreChips(); },
        .openRebuy = [this] { openRebuy(); }});
    actionBar_ = std::make_unique<ActionBar>(*this, *betting_);
    options_ = std::make_unique<OptionPanel>(*this, *betting_);
    offers_ = std::make_unique<OfferButtons>(*this, *betting_);
    chat_ = std::make_unique<TableChat>(*this, TableChatContext{T, state().session, tableId_, sender(), boxes(),
                                                                context_.chatPictures, this, context_.showLogin});
    setUpKeyboard();
    chat_->input()->setFocus();
}

void dlgPokerRoom::setUpKeyboard()
{
    presets_ = std::make_unique<BetPresetButtons>(*this, *betting_, *actionBar_);
    speech_ = new TableSpeech(*this, TableSpeechContext{table(), state().preferences, [this] { bringForward(); }});
    keyboard_ = new TableKeyboard(
        *this, TableKeyboardContext{*this, table(), state().preferences, *presets_,
                                    [this](TableCommand command) { speech_->ask(command); },
                                    [this](int seat) { speech_->askSeat(seat); },
                                    [this](int seat, QWidget* spot) {
                                        showPlayerMenu(seat, spot->mapToGlobal(spot->rect().center()));
                                    }});
}

dlgPokerRoom::~dlgPokerRoom() = default;

dlgPlayMoneyBuyIn* dlgPokerRoom::buyInDialog() const { return buyIn_; }
dlgGetMoreChips* dlgPokerRoom::rebuyDialog() const { return rebuy_; }

TableState& dlgPokerRoom::table()
{
    return state().tables[static_cast<std::size_t>(tableId_)];
}

BoxAnswer dlgPokerRoom::ask(BoxRequest box)
{
    box.owner = this;
    return boxes().show(box);
}

void dlgPokerRoom::setUpNavigationButtons()
{
    setUpSkinButtons(*this, kNavigationButtons);
    connect(control<SkinButton>(kGetMoreChips), &QAbstractButton::clicked, this, &dlgPokerRoom::getMoreChips);
    connect(control<SkinButton>(kViewLobby), &QAbstractButton::clicked, this, [this] {
        restoreLobby();
        if (context_.lobby)
            context_.lobby->activateWindow();
    });
    connect(control<SkinButton>(kLeaveTable), &QAbstractButton::clicked, this,
            [this] { leave(LeaveBy::LeaveButton); });
    connect(control<SkinButton>(kInviteFriend), &QAbstractButton::clicked, this,
            [this] { context_.pages.openTellAFriend(); });
}

void dlgPokerRoom::frameStep()
{
    if (leaving_)
        return;
    TableState& T = table();
    chat_->frameStep();
    options_->showStep(T.userSeatedHere == 1);
    seats_->frameStep(T);
    if (T.bringToFront != 0) {
        bringForward();
        T.bringToFront = 0;
    }
    actionBar_->promptStep();
    presets_->frameStep();
    speech_->frameStep();
    keyboard_->frameStep();
    offers_->frameStep();
    options_->markStep();
    // Whatever the description names is drawn too: it can only have changed
    // with the picture.
    if (frame_.render(T, context_.sound, clientRect().size(), scale())) {
        update(clientRect());
        describeTable();
        keyboard_->describeSeats();
    }
}

// The user must act: the window comes back from the taskbar and to the
// top. A desktop that refuses to hand over the keyboard (Wayland) gets the
// taskbar alert instead.
void dlgPokerRoom::bringForward()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (!isActiveWindow())
        QApplication::alert(this);
}

void dlgPokerRoom::describeTable()
{
    std::string description = tableDescription(table(), tableName_);
    if (description != description_) {
        description_ = std::move(description);
        setAccessibleDescription(toQString(description_));
    }
}

void dlgPokerRoom::paintEvent(QPaintEvent*)
{
    if (leaving_ || isMinimized())
        return;
    // A paint before the first frame step draws that frame itself.
    if (frame_.image().isNull())
        frame_.render(table(), context_.sound, clientRect().size(), scale());
    QPainter painter(this);
    painter.drawPixmap(clientRect().topLeft(), frame_.image());
}

void dlgPokerRoom::timerEvent(QTimerEvent* event)
{
    const int id = event->timerId();
    if (id == frameTimer_.timerId()) {
        frameStep();
    } else if (id == blinkTimer_.timerId()) {
        TableState& T = table();
        T.blinkWord = T.blinkWord == 0 ? 1 : 0;
    } else if (id == entropyTimer_.timerId()) {
        sendEntropy();
    } else if (id == seatTimer_.timerId()) {
        seatStep();
    } else if (id == attentionTimer_.timerId()) {
        // The alert stops by itself once the window is activated.
        if (table().userToAct == 1 && isMinimized())
            QApplication::alert(this);
    } else if (id != idleTimer_.timerId()) {
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

// The active window, or the top-level window of the active widget.
bool dlgPokerRoom::isForeground() const
{
    const QWidget* active = QApplication::activeWindow();
    return active != nullptr && active->window() == this;
}

void dlgPokerRoom::seatStep()
{
    // The table index is a constant of the window, so the index guard of old
    // has nothing to repair; the tick's trace stays.
    trace("TIMER_TABLE: %d", tableId_);
    if (seatTick(state().session, table(), isForeground(), sender()))
        openBuyIn();
}

void dlgPokerRoom::requestSeat(int seat)
{
    trace("SEAT CLICKED: %d", seat);
    switch (tessaly::requestSeat(state().session, table(), seat, sender())) {
    case JoinOutcome::NeedsLogin:
        if (context_.showLogin)
            context_.showLogin();
        break;
    case JoinOutcome::BalanceAsked:
        break;
    case JoinOutcome::SeatedElsewhere:
        ask(BoxRequest{kOneTableOnlyMessage, kTableMessageCaption});
        break;
    }
}

void dlgPokerRoom::openBuyIn()
{
    delete buyIn_.data();
    buyIn_ = new dlgPlayMoneyBuyIn(state(), sender(), boxes(), tableId_, tableName_);
    buyIn_->setDefaultAmount();
    buyIn_->show();
    buyIn_->raise();
    buyIn_->activateWindow();
}

void dlgPokerRoom::getMoreChips()
{
    if (const std::optional<BoxRequest> refusal = rebuyRefusal(table())) {
        ask(*refusal);
        return;
    }
    openRebuy();
}

// Every opening makes a new dialog; one already open stays open.
void dlgPokerRoom::openRebuy()
{
    rebuy_ = new dlgGetMoreChips(state(), sender(), boxes(), tableId_, tableName_);
    rebuy_->show();
    rebuy_->raise();
    rebuy_->activateWindow();
}

void dlgPokerRoom::stopTimers()
{
    for (QBasicTimer* timer : {&frameTimer_, &blinkTimer_, &idleTimer_, &entropyTimer_, &seatTimer_, &attentionTimer_})
        timer->stop();
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
        if (ask(box) != BoxAnswer::Yes)
            return false;
    }
    leaving_ = true;
    frame_.release();
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
    switch (event->key()) {
    case Qt::Key_Escape: {
        // Escape leaves the table only through the leave sequence: closing
        // the window behind its back would keep the table's name among the
        // open tables and its record unreset.
        event->accept();
        BoxRequest box{kEscapeMessage, kLeaveCaption};
        box.buttons = BoxButtons::OkCancel;
        box.systemModal = true;
        if (ask(box) == BoxAnswer::Ok)
            leave(LeaveBy::CloseBox);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter belongs to the window: in the raise box it bets first, then
        // the chat line goes out.
        event->accept();
        if (focusWidget() != nullptr && focusWidget() == control(betting::kAmountBox))
            actionBar_->betOrRaise();
        chat_->sendInput();
        return;
    default:
        DialogWindow::keyPressEvent(event);
    }
}

void dlgPokerRoom::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        restoreLobby();
    DialogWindow::changeEvent(event);
}

void dlgPokerRoom::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        openPlayerMenu(event->position().toPoint());
    DialogWindow::mousePressEvent(event);
}

// A right click on a seated player's box offers the notes on that player.
void dlgPokerRoom::openPlayerMenu(const QPoint& position)
{
    const QPoint inTable = position - clientRect().topLeft();
    const int seat = playerBoxAt(inTable.x(), inTable.y(), table(), scale().x, scale().y);
    if (seat >= 0)
        showPlayerMenu(seat, mapToGlobal(position));
}

void dlgPokerRoom::showPlayerMenu(int seat, const QPoint& globalPosition)
{
    if (!isSeat(seat) || table().seatOccupied[static_cast<std::size_t>(seat)] == 0)
        return;
    const std::string name = table().playerName[static_cast<std::size_t>(seat)].str();
    PlayerNotes& notes = context_.notes;
    QMenu* menu = playerMenu(this, [&notes, name] { notes.open(name); });
    menu->setAccessibleName(QStringLiteral("Player menu: ") + toQString(name));
    menu->popup(globalPosition);
    // The first item active: the menu has the keyboard and a screen reader
    // hears where it is.
    menu->setActiveAction(menu->actions().value(0));
}

} // namespace tessaly
