#include "client/lobby/LobbyWindow.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWindowStateChangeEvent>

#include "client/diag/SystemInfoDialog.h"
#include "client/lobby/LobbyDialogs.h"
#include "client/lobby/LobbyHost.h"
#include "client/lobby/LobbyKeyboard.h"
#include "client/lobby/LobbyLists.h"
#include "client/lobby/LobbyTemplate.h"
#include "client/lobby/LobbyTexts.h"
#include "client/lobby/NetworkMonitorStarter.h"
#include "client/lobby/PageOpener.h"
#include "client/lobby/SettingsFile.h"
#include "client/net/ClientMessages.h"
#include "client/net/ClientVersion.h"
#include "client/net/LineSender.h"
#include "client/table/ActionQueueList.h"
#include "client/table/ClientState.h"
#include "client/table/HandHistoryFiles.h"
#include "client/table/TableDesk.h"
#include "client/table/TableWindowRules.h"
#include "client/ui/CardImages.h"
#include "client/ui/LinkTicker.h"
#include "client/ui/SkinButtonFaces.h"
#include "client/ui/SkinControls.h"
#include "client/ui/SoundPlayer.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

using namespace lobby;

constexpr SkinButtonFace kButtons[] = {
    {kLoginButton, 186, 176, "Login to Tessaly!", "Login"},
    {kSignupButton, 187, 173, "Signup an account", "Sign Up"},
    {kRefreshButton, 190, 177, "Refresh the table listings", "Refresh"},
    {kCashierButton, 189, 174, "View your cashier", "Cashier"},
    {kHelpButton, 191, 184, "Contact Help", "Help"},
    {kLogoutButton, 195, 193, "Logout/Exit", "Logout"},
    {kMyAccountButton, 197, 196, "My Account [web interface]", "My Account"},
};

constexpr int kHotSpots[] = {kSecuritySpot, kAboutUsSpot};

// What screen readers call the controls that show no text of their own:
// the hot spots and the banner by what they do, the lists by what they hold.
const struct {
    int id;
    const char* name;
    const char* description;
} kAccessibleNames[] = {
    {kSecuritySpot, "Security", "Opens the security page of the web site"},
    {kAboutUsSpot, "About Us", "Opens the about-us page of the web site"},
    {kBanner, "Links to the Tessaly web site", "Scrolling links; a click opens the page"},
    {kTableList, "Tables", "The room's tables; Return or a double-click opens one"},
    {kPlayerList, "Players", "The players at the selected table"},
};

// Every command action of a menu, submenus included.
void forEachCommand(const QList<QAction*>& actions, const std::function<void(QAction*)>& visit)
{
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu())
            forEachCommand(menu->actions(), visit);
        else if (commandId(action) != 0)
            visit(action);
    }
}

} // namespace

dlgLobby::dlgLobby(LobbyContext& context, QWidget* parent)
    : DialogWindow(lobbyTemplate(), skinDialogBuilder(), parent), context_(context),
      desk_(new TableDesk(toQString((context.programDirectory / kTableWindowsFileName).string()),
                          [] { return std::chrono::steady_clock::now(); }, this)),
      tableContext_{context.state, context.sender, context.boxes, context.sound, context.pages, this,
                    [this] { showLoginDialog(false); }, context.chatPictures, context.notes, desk_}
{
    keyboard_ = std::make_unique<LobbyKeyboard>(context.state.preferences, context.programDirectory, context.boxes,
                                                context.screenReaderRunning);
    connectCommands();
    for (const auto& a : kAccessibleNames) {
        control<QWidget>(a.id)->setAccessibleName(QString::fromLatin1(a.name));
        control<QWidget>(a.id)->setAccessibleDescription(QString::fromLatin1(a.description));
    }
}

dlgLobby::~dlgLobby()
{
    teardown();
}

QTreeWidget* dlgLobby::tableList() const { return listView(kTableList); }
QTreeWidget* dlgLobby::playerList() const { return listView(kPlayerList); }

bool dlgLobby::loggedIn() const { return context_.state.session.loggedIn != 0; }

void dlgLobby::connectCommands()
{
    if (menuBar() != nullptr) {
        forEachCommand(menuBar()->actions(), [this](QAction* action) {
            const int id = commandId(action);
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        });
    }
    for (const SkinButtonFace& b : kButtons)
        connect(control<QAbstractButton>(b.id), &QAbstractButton::clicked, this, [this, id = b.id] { runCommand(id); });
    for (const int id : kHotSpots)
        connect(control<QAbstractButton>(id), &QAbstractButton::clicked, this, [this, id] { runCommand(id); });
    auto* clicks = new TableListClicks(*tableList());
    connect(clicks, &TableListClicks::clicked, this, &dlgLobby::requestPlayers);
    connect(clicks, &TableListClicks::doubleClicked, this, &dlgLobby::openTable);
}

bool dlgLobby::initialise()
{
    LobbyHost& host = context_.host;
    host.connectToGameServer();
    requestTableList();
    host.readVersionFiles();
    startTimer(captionTimer_, kCaptionPeriodMs);
    startTimer(tableListTimer_, kTableListPeriodMs);
    startTimer(refillTimer_, kRefillPeriodMs);
    startTimer(swapTimer_, kSwapPeriodMs);

    SessionValues& session = context_.state.session;
    session.smileysShown = SettingsFile(context_.programDirectory).readAtStartup(session.smileysShown != 0) ? 1 : 0;
    command(kDrawSmileys)->setChecked(session.smileysShown != 0);
    keyboard_->readAtStartup(command(kSpeakTableEvents));

    host.enterProgramDirectory();
    if (host.runVersionDecision())
        return false;
    backdrop_.setScale(screenScale());
    if (host.runLatencyGate(this))
        return false;
    showLoginDialog(false);
    visualSetUp();
    return true;
}

void dlgLobby::visualSetUp()
{
    LoadCardImages(context_.boxes);
    const bool backgroundLoaded = background_.load("images/LobbyBg.jpg") == Picture::kLoaded;
    if (!backgroundLoaded) {
        BoxRequest box{kBackgroundFailedMessage, ""};
        box.owner = this;
        context_.boxes.show(box);
    }
    // The last card loaded means every card did (they load in order).
    trace("lobby: pictures %s", backgroundLoaded && !cardImages().card(kCardBack).isNull() ? "loaded" : "missing");
    setUpPlayerList(*playerList());
    setUpTableList(*tableList());
    // The box below the player list lists the tables waiting for the user.
    new ActionQueueList(*listView(kEmptyBox), *desk_, this);
    setUpBanner();
    setUpButtons();
    startTimer(frameTimer_, kFramePeriodMs);
}

void dlgLobby::setUpBanner()
{
    auto* banner = control<LinkTicker>(kBanner);
    for (const BannerLink& link : kBannerLinks)
        banner->addItem(context_.pages.address(link.page), link.text);
    banner->setOpener([this](const QString& address) { context_.pages.openAddress(toUtf8(address)); });
    banner->start(true);
}

void dlgLobby::setUpButtons()
{
    setUpSkinButtons(*this, kButtons);
    control<QWidget>(kLogoutButton)->hide();
    control<QWidget>(kMyAccountButton)->hide();
}

// The desktop's file manager shows the hand histories' folder, made first
// when no hand was written yet.
void dlgLobby::openHandHistories()
{
    const std::filesystem::path folder = handHistoryFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    context_.pages.openAddress(toUtf8(QUrl::fromLocalFile(toQString(folder.string())).toString()));
}

void dlgLobby::runCommand(int id)
{
    const PageOpener& pages = context_.pages;
    switch (id) {
    case kMyAccountSite:
    case kMyAccountButton: pages.open(pages::SecureRoot); break;
    case kLoginCommand:
        if (loggedIn())
            context_.boxes.show(BoxRequest{kAlreadyLoggedInMessage, "Tessaly Message"});
        else
            showLoginDialog(false);
        break;
    case kLogoffAndExit:
    case kLogoutButton:
        // Nothing is sent and nothing is asked; the end of the process
        // closes the connection.
        context_.exit.exitProcess(1);
        break;
    case kGoToCashier:
        if (loggedIn())
            openCashier();
        else
            context_.boxes.show(BoxRequest{kCashierNeedsLoginMessage, "Tessaly Message", BoxIcon::Information});
        break;
    case kHandHistories: openHandHistories(); break;
    case kDisableSounds: context_.sound.toggleSounds(); break;
    case kDrawSmileys: toggleSmileys(); break;
    case kKeyboard: keyboard_->openDialog(this, command(kSpeakTableEvents)); break;
    case kSpeakTableEvents: keyboard_->toggleSpeech(command(kSpeakTableEvents)); break;
    case kSoftwareNotes: context_.dialogs.runSoftwareNotes(this); break;
    case kNetworkMonitor: startNetworkMonitor(context_.launcher, context_.boxes); break;
    case kEmailUs: pages.open(pages::EmailUs); break;
    case kTellAFriend: pages.open(pages::TellAFriend); break;
    case kCheckServerStatus: pages.open(pages::ServerStatus); break;
    case kSoftwareProvider:
    case kAboutUsSpot: pages.open(pages::AboutUs); break;
    case kSecurity:
    case kSecuritySpot: pages.open(pages::Security); break;
    case kHelpButton: pages.open(pages::ContactUs); break;
    case kSystemInformation: runSystemInfoDialog(this); break;
    case kClientVersionCommand:
        context_.boxes.show(BoxRequest{clientVersionBoxText(kClientVersion), "Tessaly Client", BoxIcon::Information});
        break;
    case kAboutTessaly:
    case kWindowMenuAbout: context_.dialogs.runAbout(this); break;
    case kLoginButton: showLoginDialog(true); break;
    case kSignupButton:
        showLoginDialog(true);
        context_.dialogs.runRegistration(*login_);
        break;
    case kCashierButton:
        if (loggedIn()) {
            openCashier();
        } else {
            cashierAfterLogin_ = true;
            showLoginDialog(true);
        }
        break;
    case kRefreshButton: requestTableList(); break;
    default: break;   // grayed items and "Coming Soon!" have no handler
    }
}

// The players of the table last clicked are asked for again with every
// table list: seats fill and empty between clicks, and a list shown from an
// old reply would keep players who have left.
void dlgLobby::requestTableList()
{
    SessionValues& session = context_.state.session;
    session.tableListRequested = 1;
    session.tableListComplete = 0;
    context_.sender.sendLine(listTablesMessage());
    if (playersRow_ >= 0)
        context_.sender.sendLine(requestPlayersMessage(playersRow_));
}

void dlgLobby::requestPlayers(int row)
{
    playersRow_ = row;
    context_.sender.sendLine(requestPlayersMessage(row));
}

void dlgLobby::openTable(int row)
{
    if (!isTableId(row))
        return;
    ClientState& state = context_.state;
    const TableState& table = state.tables[static_cast<std::size_t>(row)];
    const std::string name = table.tableName.str();
    if (!addOpenTable(state.session.openTableNames, name)) {
        context_.boxes.show(BoxRequest{kTableAlreadyOpenMessage, ""});
        return;
    }
    showMinimized();
    auto* window = new dlgPokerRoom(tableContext_, row, name);
    window->show();
    window->setWindowTitle(toQString(tableWindowCaption(name, table.stakesText.str(), table.gameType, loggedIn(),
                                                       state.session.screenName.str())));
    std::erase_if(tables_, [](const QPointer<dlgPokerRoom>& w) { return w.isNull(); });
    tables_.emplace_back(window);
}

std::vector<dlgPokerRoom*> dlgLobby::tableWindows() const
{
    std::vector<dlgPokerRoom*> open;
    for (const QPointer<dlgPokerRoom>& w : tables_)
        if (w && !w->isLeaving())
            open.push_back(w.data());
    return open;
}

void dlgLobby::showLoginDialog(bool focusScreenName)
{
    if (!login_)
        login_ = context_.dialogs.createLogin();
    login_->show();
    login_->raise();
    login_->activateWindow();
    if (focusScreenName)
        context_.dialogs.focusScreenName(*login_);
}

void dlgLobby::openCashier()
{
    context_.dialogs.runCashier(this);
}

void dlgLobby::swapAfterLogin()
{
    if (!loggedIn())
        return;
    if (!swapDone_) {
        control<QWidget>(kLoginButton)->hide();
        control<QWidget>(kLogoutButton)->show();
        control<QWidget>(kSignupButton)->hide();
        control<QWidget>(kMyAccountButton)->show();
        swapDone_ = true;
    }
    if (cashierAfterLogin_) {
        cashierAfterLogin_ = false;
        openCashier();
    }
}

void dlgLobby::toggleSmileys()
{
    SessionValues& session = context_.state.session;
    session.smileysShown = SettingsFile(context_.programDirectory).toggleSmileys(session.smileysShown != 0) ? 1 : 0;
    command(kDrawSmileys)->setChecked(session.smileysShown != 0);
}

void dlgLobby::frameTick()
{
    const SessionValues& session = context_.state.session;
    const QRect changed = backdrop_.compose(clientRect().size(), background_,
                                            serverStatusLine(session.serverTimeText.str(), session.liveUsers,
                                                             session.liveTables));
    if (!changed.isEmpty())
        update(changed.translated(clientRect().topLeft()));
}

void dlgLobby::timerEvent(QTimerEvent* event)
{
    const int id = event->timerId();
    SessionValues& session = context_.state.session;
    if (id == captionTimer_.timerId()) {
        if (loggedIn()) {
            setWindowTitle(toQString(loggedInCaption(session.screenName.str())));
            trace("lobby: greets %s", session.screenName.c_str());
            captionTimer_.stop();
        }
    } else if (id == tableListTimer_.timerId()) {
        requestTableList();
    } else if (id == refillTimer_.timerId()) {
        if (refillTableList(*tableList(), context_.state))
            trace("lobby: %d tables listed", session.tableCount);
    } else if (id == swapTimer_.timerId()) {
        swapAfterLogin();
    } else if (id == frameTimer_.timerId()) {
        refillPlayerList(*playerList(), session);
        frameTick();
    } else {
        DialogWindow::timerEvent(event);
    }
}

void dlgLobby::paintEvent(QPaintEvent* event)
{
    if (!backdrop_.ready())
        frameTick();
    QPainter painter(this);
    const QPoint origin = clientRect().topLeft();
    backdrop_.draw(painter, origin, event->rect().translated(-origin) & QRect(QPoint(0, 0), backdrop_.backBufferSize()));
}

// Minimised (opening a table does it), nobody sees the lobby's frames, so its
// 20 ms step rests and the state it polls waits for it. Restored, the lists
// it shows are as old as the minimising, so both are asked for at once.
void dlgLobby::changeEvent(QEvent* event)
{
    DialogWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !shownOnce_)
        return;
    const bool wasMinimized = static_cast<QWindowStateChangeEvent*>(event)->oldState().testFlag(Qt::WindowMinimized);
    if (isMinimized() && !wasMinimized && frameTimer_.isActive()) {
        frameTimer_.stop();
        framesResting_ = true;
    } else if (wasMinimized && !isMinimized()) {
        requestTableList();
        if (framesResting_ && !tornDown_)
            startTimer(frameTimer_, kFramePeriodMs);
        framesResting_ = false;
    }
}

// The login dialog, shown during the initialisation, stays in front of the
// lobby when the lobby first appears.
void dlgLobby::showEvent(QShowEvent* event)
{
    DialogWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    trace("lobby: shown");
    QTimer::singleShot(0, this, [this] {
        if (login_) {
            login_->raise();
            login_->activateWindow();
        }
    });
}

void dlgLobby::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: {
        BoxRequest box{kLeaveLobbyMessage, "Tessaly Warning", BoxIcon::Exclamation, BoxButtons::OkCancel};
        box.owner = this;
        if (context_.boxes.show(box) == BoxAnswer::Ok)
            accept();
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: break;   // Enter does nothing in the lobby
    default: DialogWindow::keyPressEvent(event); return;
    }
    event->accept();
}

// The desktop's window menu cannot take entries of ours: a right click on
// the lobby's picture opens the window menu with the About entry instead.
void dlgLobby::contextMenuEvent(QContextMenuEvent* event)
{
    if (childAt(event->pos()) != nullptr) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("Mi&nimize"), this, &QWidget::showMinimized);
    menu.addAction(QStringLiteral("&Close"), this, &QWidget::close);
    menu.addSeparator();
    menu.addAction(QString::fromLatin1(kAboutMenuText), this, [this] { runCommand(kWindowMenuAbout); });
    menu.exec(event->globalPos());
}

void dlgLobby::done(int result)
{
    teardown();
    DialogWindow::done(result);
}

// Closing the lobby ends the program: its pictures, the login dialog and
// the table windows go before the session they read.
void dlgLobby::teardown()
{
    if (tornDown_)
        return;
    tornDown_ = true;
    for (QBasicTimer* timer : {&captionTimer_, &tableListTimer_, &refillTimer_, &swapTimer_, &frameTimer_})
        timer->stop();
    background_ = Picture();
    backdrop_.release();
    delete login_.data();
    for (const QPointer<dlgPokerRoom>& window : tables_)
        delete window.data();
    tables_.clear();
}

} // namespace tessaly
