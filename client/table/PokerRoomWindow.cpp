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
#include <QRegion>

#include <chrono>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ActionBar.h"
#include "client/table/BetPresetButtons.h"
#include "client/table/BettingControls.h"
#include "client/table/BuyInDialog.h"
#include "client/table/ClientState.h"
#include "client/table/HandLog.h"
#include "client/table/OfferButtons.h"
#include "client/table/OptionPanel.h"
#include "client/table/PlayerNotes.h"
#include "client/table/RebuyDialog.h"
#include "client/table/SeatButtons.h"
#include "client/table/SeatLayout.h"
#include "client/table/TableChat.h"
#include "client/table/TableDesk.h"
#include "client/table/TableDescription.h"
#include "client/table/TableKeyboard.h"
#include "client/table/TableSpeech.h"
#include "client/table/TablePages.h"
#include "client/table/TableWindowRules.h"
#include "client/table/ZoomedControls.h"
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
        .flags = dlg::SystemMenu | dlg::MinimizeBox | dlg::Resizable | dlg::HandCursorOverButtons,
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
    handLog_ = std::make_unique<HandLog>(*this, clientRect(), scale().x);
    setUpKeyboard();
    chat_->input()->setFocus();

    // Everything is laid out at zoom 1 now; the user may resize from here.
    zoomed_ = std::make_unique<ZoomedControls>(*this);
    const Extent base = baseClient();
    const Extent smallest = zoomedExtent(base, kMinTableZoom);
    const Extent largest = zoomedExtent(base, kMaxTableZoom);
    setMinimumSize(smallest.width, smallest.height);
    setMaximumSize(largest.width, largest.height);
    if (context_.desk != nullptr)
        context_.desk->open(*this);
}

void dlgPokerRoom::setUpKeyboard()
{
    presets_ = std::make_unique<BetPresetButtons>(*this, *betting_, *actionBar_);
    // A prompt brings the window forward as "ACTION:" does, under the desk's
    // rule for the user busy elsewhere.
    speech_ = new TableSpeech(*this,
                              TableSpeechContext{table(), state().preferences, [this] { forwardPending_ = true; }});
    keyboard_ = new TableKeyboard(
        *this, TableKeyboardContext{*this, table(), state().preferences, *presets_,
                                    [this](TableCommand command) { speech_->ask(command); },
                                    [this](int seat) { speech_->askSeat(seat); },
                                    [this](int seat, QWidget* spot) {
                                        showPlayerMenu(seat, spot->mapToGlobal(spot->rect().center()));
                                    }});
}

dlgPokerRoom::~dlgPokerRoom() = default;

Extent dlgPokerRoom::baseClient() const
{
    return {clientRect().width() + handLog_->paneWidth(), clientRect().height()};
}

Extent dlgPokerRoom::baseTable() const
{
    return {clientRect().width(), clientRect().height()};
}

void dlgPokerRoom::setClientSize(QSize size)
{
    resize(size);
    // A window not shown yet gets no resize event before its first paint.
    zoom_ = zoomToFit(baseClient(), {size.width(), size.height()});
    zoomed_->apply(zoom_);
}

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
    followHand();
    options_->showStep(T.userSeatedHere == 1);
    seats_->frameStep(T);
    if (T.bringToFront != 0) {
        forwardPending_ = true;
        T.bringToFront = 0;
    }
    forwardStep(T.userToAct == 1 || T.bragOffered == 1 || T.showLostOffered == 1);
    actionBar_->promptStep();
    presets_->frameStep();
    speech_->frameStep();
    keyboard_->frameStep();
    offers_->frameStep();
    options_->markStep();
    // Whatever the description names is drawn too: it can only have changed
    // with the picture.
    const Extent zoomed = zoomedExtent(baseTable(), zoom_);
    if (frame_.render(T, context_.sound, QSize(zoomed.width, zoomed.height), scale(), zoom_)) {
        update(frame_.changed().translated(clientRect().topLeft()));
        describeTable();
        keyboard_->describeSeats();
    }
}

// The hand's events go to the log and to the screen reader; each hand the user was dealt into is
// written to the hand histories once it is over.
void dlgPokerRoom::followHand()
{
    TableState& T = table();
    T.handEvents.drain([this](const HandEvent& event) {
        handLog_->append(event);
        speech_->handEvent(event);
    });
    std::deque<HandRecord>& finished = T.handHistory.finished;
    while (!finished.empty()) {
        if (finished.front().userSeat != kNoSeat && !handHistories_.append(finished.front(), localStampNow()))
            trace("hand history not written: %s", handHistories_.folder().c_str());
        finished.pop_front();
    }
}

// The user must act. The window comes forward only when that takes no key
// or click meant for another window (TableDesk's idle rule); until then it
// asks for attention once, and tries again every frame.
void dlgPokerRoom::forwardStep(bool waiting)
{
    if (context_.desk != nullptr)
        context_.desk->report(*this, waiting);
    if (!waiting || isActiveWindow()) {
        forwardPending_ = false;
        alerted_ = false;
        return;
    }
    if (!forwardPending_)
        return;
    const Forward forward = context_.desk != nullptr ? context_.desk->mayComeForward(*this) : Forward::Raise;
    if (forward == Forward::Raise) {
        forwardPending_ = false;
        alerted_ = false;
        if (context_.desk != nullptr)
            context_.desk->cameForward();
        comeForward();
    } else if (!alerted_) {
        alerted_ = true;
        QApplication::alert(this);
    }
}

// A desktop that refuses to hand over the keyboard (Wayland) gets the
// taskbar alert instead.
void dlgPokerRoom::comeForward()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (!isActiveWindow())
        QApplication::alert(this);
}

void dlgPokerRoom::focusActionBar()
{
    using namespace betting;
    for (const int id : {kAmountBox, kMiddleAction, kLeftAction, kRightAction, kLeftPost, kRightPost}) {
        QWidget* c = control(id);
        if (c != nullptr && c->isVisible() && c->isEnabled()) {
            c->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void dlgPokerRoom::describeTable()
{
    std::string description = tableDescription(table(), tableName_);
    if (description != description_) {
        description_ = std::move(description);
        setAccessibleDescription(toQString(description_));
    }
}

void dlgPokerRoom::paintEvent(QPaintEvent* event)
{
    if (leaving_ || isMinimized())
        return;
    const Extent zoomed = zoomedExtent(baseTable(), zoom_);
    // A paint before the first frame step draws that frame itself.
    if (frame_.image().isNull())
        frame_.render(table(), context_.sound, QSize(zoomed.width, zoomed.height), scale(), zoom_);
    QPainter painter(this);
    painter.drawImage(clientRect().topLeft(), frame_.image());
    // A window of another shape than the table's (maximised, or while a
    // drag goes on) shows the table at the zoom that fits, on black.
    // Only where this paint reaches: a frame's update is a few small areas,
    // and the hand log's pane is never among them.
    const QRegion beside = event->region() - QRect(clientRect().topLeft(), frame_.image().size());
    for (const QRect& r : beside)
        painter.fillRect(r, Qt::black);
}

void dlgPokerRoom::resizeEvent(QResizeEvent* event)
{
    DialogWindow::resizeEvent(event);
    const double zoom = zoomToFit(baseClient(), {width(), height() - clientRect().top()});
    if (zoom != zoom_) {
        // The next frame step draws the table at the new zoom.
        zoom_ = zoom;
        zoomed_->apply(zoom_);
    }
    settleTimer_.start(kSettlePeriodMs, this);
}

void dlgPokerRoom::moveEvent(QMoveEvent* event)
{
    DialogWindow::moveEvent(event);
    settleTimer_.start(kSettlePeriodMs, this);
}

// After a drag: the window takes the shape of the table at its zoom, and
// the desk keeps where it stands.
void dlgPokerRoom::settle()
{
    settleTimer_.stop();
    if (!isVisible() || isMinimized() || isMaximized() || isFullScreen())
        return;
    const Extent shaped = zoomedExtent(baseClient(), zoom_);
    const QSize size(shaped.width, shaped.height + clientRect().top());
    if (this->size() != size)
        resize(size);
    if (context_.desk != nullptr)
        context_.desk->remember(*this);
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
    } else if (id == settleTimer_.timerId()) {
        settle();
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
    for (QBasicTimer* timer :
         {&frameTimer_, &blinkTimer_, &idleTimer_, &entropyTimer_, &seatTimer_, &attentionTimer_, &settleTimer_})
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
    if (context_.desk != nullptr)
        context_.desk->closed(*this);
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
    const QPointF inTable = QPointF(position - clientRect().topLeft()) / zoom_;
    const int seat = playerBoxAt(static_cast<int>(inTable.x()), static_cast<int>(inTable.y()), table(), scale().x,
                                 scale().y);
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
