// The lobby window: its start-up order, lists and their colours, commands
// and menus, the logged-in swap, the cashier after login, the settings
// toggles, the keyboard and its close.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <functional>

#include "client/lobby/KeyboardDialog.h"
#include "client/lobby/LobbyLists.h"
#include "client/lobby/LobbyTemplate.h"
#include "client/ui/LinkTicker.h"
#include "client/ui/SkinButton.h"
#include "tests/lobby/LobbyFixture.h"

namespace tessaly {
namespace {

using ::testing::ElementsAre;
using namespace lobby;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

QString cell(QTreeWidget& list, int row, int column)
{
    return list.topLevelItem(row)->text(column);
}

class LobbyWindow : public LobbyFixture {
protected:
    std::string settingsPath() const { return programDirectory.filePath(QStringLiteral("settings.txt")).toStdString(); }
    QWidget* widget(int id) const { return lobby->control(id); }
    void click(int id) { QTest::mouseClick(widget(id), Qt::LeftButton); }
    // The menu item by command id, triggered as a user would.
    void choose(int id) { lobby->command(id)->trigger(); }
    void clickRow(int row)
    {
        QTreeWidget& list = *lobby->tableList();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.topLevelItem(row)).center());
    }
    void doubleClickRow(int row)
    {
        QTreeWidget& list = *lobby->tableList();
        const QPoint at = list.visualItemRect(list.topLevelItem(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    // The lobby with three tables listed.
    void openLobbyWithTables()
    {
        openLobby();
        serverListsTables({{"Aldergrove", 1000, "0.05/0.10", 2, 10, 14},
                           {"Brackenridge", 1001, "0.10/0.25", 3, 6, 0},
                           {"Cinderfall", 1002, "0.50/1", 0, 10, 120}});
        ASSERT_TRUE(waitUntil([this] { return lobby->tableList()->topLevelItemCount() == 3; }));
    }
};

TEST_F(LobbyWindow, StartUpRunsItsStepsInOrderAndAsksForTheTableListAfterConnecting)
{
    openLobby();
    EXPECT_THAT(host.names(), ElementsAre("connect", "versions", "directory", "decision", "gate"));
    EXPECT_TRUE(host.steps[0].sentBefore.empty());
    EXPECT_THAT(host.steps[1].sentBefore, ElementsAre("LIST_TABLES"));
    EXPECT_EQ(state.session.tableListRequested, 1);
    EXPECT_EQ(host.gateOwner, lobby.get());
    // The login dialog is made once, at start-up, and shown.
    ASSERT_EQ(dialogs.logins.size(), 1u);
    EXPECT_EQ(lobby->loginDialog(), dialogs.logins[0]);
    EXPECT_TRUE(dialogs.logins[0]->isVisible());
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown[0].text;
    EXPECT_EQ(lobby->windowTitle(), QStringLiteral(" Tessaly - Welcome to The World's Greatest Poker Room !!!"));
    // Not resizable, and Logout and My Account wait for the login.
    EXPECT_EQ(lobby->minimumSize(), lobby->maximumSize());
    EXPECT_FALSE(widget(kLogoutButton)->isVisible());
    EXPECT_FALSE(widget(kMyAccountButton)->isVisible());
    EXPECT_TRUE(widget(kLoginButton)->isVisible());
}

TEST_F(LobbyWindow, StartUpStopsWhereTheProcessIsToldToEnd)
{
    for (const bool updater : {true, false}) {
        host.steps.clear();
        host.updaterStarts = updater;
        host.gateRefuses = !updater;
        dlgLobby window(context);
        EXPECT_FALSE(window.initialise());
        EXPECT_EQ(host.names().back(), updater ? "decision" : "gate");
        EXPECT_EQ(window.loginDialog(), nullptr);
        EXPECT_TRUE(dialogs.logins.empty());
    }
}

TEST_F(LobbyWindow, BannerCarriesTheFourLinksAndButtonsTheirTips)
{
    openLobby();
    auto* banner = lobby->control<LinkTicker>(kBanner);
    EXPECT_TRUE(banner->isScrolling());
    EXPECT_EQ(banner->track().extents().size(), 4u);
    const auto* login = lobby->control<SkinButton>(kLoginButton);
    EXPECT_TRUE(login->text().isEmpty());
    EXPECT_EQ(login->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(lobby->control(kSecuritySpot)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(LobbyWindow, SettingsFileDecidesTheSmileySwitchAtStartAndOnEveryToggle)
{
    struct Case {
        const char* file;   // nullptr: no file
        bool atStart;
        const char* fileAfterStart;
        const char* fileAfterToggle;
    };
    const Case cases[] = {
        {nullptr, true, "show", "hide"},
        {"show", true, "show", "hide"},
        {"SHOW", false, "hide", "show"},
        {"hide extra words", false, "hide", "show"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file != nullptr ? c.file : "(no file)");
        std::remove(settingsPath().c_str());
        if (c.file != nullptr)
            writeFile(settingsPath(), c.file);
        openLobby();
        QAction* item = lobby->command(kDrawSmileys);
        EXPECT_EQ(state.session.smileysShown != 0, c.atStart);
        EXPECT_EQ(item->isChecked(), c.atStart);
        EXPECT_EQ(readFile(settingsPath()), c.fileAfterStart);
        choose(kDrawSmileys);
        EXPECT_EQ(state.session.smileysShown != 0, !c.atStart);
        EXPECT_EQ(item->isChecked(), !c.atStart);
        EXPECT_EQ(readFile(settingsPath()), c.fileAfterToggle);
        lobby.reset();
    }
    // The toggle reads the file, not the switch: a file deleted while the
    // client runs turns smileys on.
    openLobby();
    ASSERT_TRUE(lobby->command(kDrawSmileys)->isChecked());
    std::remove(settingsPath().c_str());
    choose(kDrawSmileys);
    EXPECT_TRUE(lobby->command(kDrawSmileys)->isChecked());
    EXPECT_EQ(readFile(settingsPath()), "show");
}

TEST_F(LobbyWindow, DisableSoundsFlipsTheSwitchWithoutACheckMark)
{
    openLobby();
    QAction* item = lobby->command(kDisableSounds);
    choose(kDisableSounds);
    EXPECT_FALSE(sound.soundsEnabled());
    EXPECT_FALSE(item->isChecked());
    choose(kDisableSounds);
    EXPECT_TRUE(sound.soundsEnabled());
    EXPECT_FALSE(item->isCheckable());
}

TEST_F(LobbyWindow, TableListIsRebuiltOncePerCompleteReplyInReplyOrder)
{
    openLobbyWithTables();
    QTreeWidget& list = *lobby->tableList();
    const QStringList expected[] = {{"Aldergrove", "No Limit", "0.05/0.10", "2", "10", "14"},
                                    {"Brackenridge", "Pot Limit", "0.10/0.25", "3", "6", "0"},
                                    {"Cinderfall", "Fixed Limit", "0.50/1", "0", "10", "120"}};
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(cell(list, row, c), expected[row][c]) << row << "," << c;
    EXPECT_EQ(list.topLevelItem(0)->textAlignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(list.topLevelItem(0)->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(list.header()->sectionSize(0), 130);
    EXPECT_EQ(list.header()->sectionSize(5), 80);
    EXPECT_EQ(state.session.tableListRequested, 0);

    // A reply nobody asked for again leaves the rows alone.
    list.setCurrentItem(list.topLevelItem(1));
    serverListsTables({{"Solo", 1000, "1/2", 1, 6, 0}});
    QTest::qWait(dlgLobby::kRefillPeriodMs + 100);
    EXPECT_EQ(list.topLevelItemCount(), 3);

    // Refresh asks; the rows follow the next complete reply, selection gone.
    const std::size_t before = sender.lines.size();
    click(kRefreshButton);
    EXPECT_THAT(sentSince(before), ElementsAre("LIST_TABLES"));
    serverListsTables({{"Solo", 1000, "1/2", 1, 6, 0}});
    ASSERT_TRUE(waitUntil([&] { return list.topLevelItemCount() == 1; }));
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("Solo"));
    EXPECT_TRUE(list.selectedItems().isEmpty());

    // And an empty reply empties the list.
    click(kRefreshButton);
    serverListsTables({});
    ASSERT_TRUE(waitUntil([&] { return list.topLevelItemCount() == 0; }));
}

TEST_F(LobbyWindow, TableRowsAlternateWhiteAndLightBlueAndTheSelectedRowIsMidBlue)
{
    // Whatever the desktop's highlight colour is.
    QPalette red = QApplication::palette();
    red.setColor(QPalette::Highlight, Qt::red);
    QApplication::setPalette(red);
    openLobbyWithTables();
    QTreeWidget& list = *lobby->tableList();
    list.setCurrentItem(list.topLevelItem(2));
    const QImage shot = list.viewport()->grab().toImage();
    const auto colourOf = [&](int row, int column) {
        const QRect r = list.visualRect(list.model()->index(row, column));
        // A corner of the cell, clear of its text.
        return shot.pixel(r.left() + 2, r.top() + 1) & 0xFFFFFF;
    };
    for (int column : {0, 3}) {
        EXPECT_EQ(colourOf(0, column), kEvenRowColour & 0xFFFFFF);
        EXPECT_EQ(colourOf(1, column), kOddRowColour & 0xFFFFFF);
        EXPECT_EQ(colourOf(2, column), kSelectedRowColour & 0xFFFFFF);
    }
    QApplication::setPalette(QPalette());
}

TEST_F(LobbyWindow, PlayerListShowsExactlyTheLastReplyFirstEntryOnTop)
{
    openLobby();
    QTreeWidget& players = *lobby->playerList();
    serverSays("LIST:\t4\t1\tann\t10\t2\tbob\t20\t3\tcy\t30\t4\tdee\t40");
    ASSERT_TRUE(waitUntil([&] { return players.topLevelItemCount() == 4; }));
    serverSays("LIST:\t3\t6\tJuniper\t3.05\t7\tYarrow\t8.60\t10\tPuddle\t6");
    ASSERT_TRUE(waitUntil([&] { return players.topLevelItemCount() == 3; }));
    EXPECT_EQ(cell(players, 0, 0), QStringLiteral("6"));
    EXPECT_EQ(cell(players, 0, 1), QStringLiteral("Juniper"));
    EXPECT_EQ(cell(players, 2, 2), QStringLiteral("6"));
    EXPECT_EQ(state.session.playerListReady, 0);
    EXPECT_EQ(players.palette().color(QPalette::Base).rgb(), kPlayerListBackground);
}

TEST_F(LobbyWindow, SingleClickAsksForThePlayersOfTheRowOrMinusOneBesideTheRows)
{
    openLobbyWithTables();
    std::size_t before = sender.lines.size();
    clickRow(1);
    EXPECT_THAT(sentSince(before), ElementsAre("REQUEST_PLAYERS:\t1\r"));
    before = sender.lines.size();
    QTreeWidget& list = *lobby->tableList();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, list.viewport()->height() - 5));
    EXPECT_THAT(sentSince(before), ElementsAre("REQUEST_PLAYERS:\t-1\r"));
    EXPECT_TRUE(list.selectedItems().isEmpty());
    // A right click is no click of the list.
    before = sender.lines.size();
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, list.visualItemRect(list.topLevelItem(0)).center());
    EXPECT_TRUE(sentSince(before).empty());
}

TEST_F(LobbyWindow, EveryTableListRequestAsksAgainForThePlayersOfTheTableLastClicked)
{
    openLobbyWithTables();
    const struct {
        const char* what;
        std::function<void()> trigger;
    } triggers[] = {
        {"Refresh", [&] { click(kRefreshButton); }},
        {"restored from minimised", [&] {
             lobby->showMinimized();
             lobby->showNormal();
         }},
    };
    for (const auto& t : triggers) {
        std::size_t before = sender.lines.size();
        t.trigger();
        EXPECT_THAT(sentSince(before), ElementsAre("LIST_TABLES")) << t.what << ", no table clicked";
        clickRow(2);
        before = sender.lines.size();
        t.trigger();
        EXPECT_THAT(sentSince(before), ElementsAre("LIST_TABLES", "REQUEST_PLAYERS:\t2\r")) << t.what;
        QTreeWidget& list = *lobby->tableList();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, list.viewport()->height() - 5));
        before = sender.lines.size();
        t.trigger();
        EXPECT_THAT(sentSince(before), ElementsAre("LIST_TABLES")) << t.what << ", a click beside the rows";
    }
}

TEST_F(LobbyWindow, DoubleClickOpensTheTableOnceAndMinimisesTheLobby)
{
    openLobbyWithTables();
    const std::size_t before = sender.lines.size();
    doubleClickRow(1);
    ASSERT_EQ(lobby->tableWindows().size(), 1u);
    dlgPokerRoom* room = lobby->tableWindows()[0];
    EXPECT_EQ(room->tableId(), 1);
    EXPECT_EQ(room->tableName(), "Brackenridge");
    EXPECT_EQ(room->windowTitle(), QStringLiteral("  Room: Brackenridge - (0.10/0.25) Pot Limit - Good Luck!"));
    EXPECT_TRUE(lobby->isMinimized());
    EXPECT_FALSE(lobby->drawsFrames());
    EXPECT_FALSE(lobby->control<LinkTicker>(kBanner)->isScrolling());
    EXPECT_THAT(state.session.openTableNames, ElementsAre("Brackenridge"));
    EXPECT_THAT(sentSince(before), ElementsAre("REQUEST_PLAYERS:\t1\r", "WATCH_TABLE:\t1\r"));

    // Again: the table is open already, nothing else happens.
    lobby->showNormal();
    EXPECT_TRUE(lobby->drawsFrames());
    EXPECT_TRUE(lobby->control<LinkTicker>(kBanner)->isScrolling());
    doubleClickRow(1);
    EXPECT_EQ(lobby->tableWindows().size(), 1u);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Sorry this table is already open!"});
    EXPECT_FALSE(lobby->isMinimized());

    // Logged in, the caption greets the user.
    state.session.loggedIn = 1;
    state.session.screenName = "ann";
    doubleClickRow(0);
    ASSERT_EQ(lobby->tableWindows().size(), 2u);
    EXPECT_EQ(lobby->tableWindows()[1]->windowTitle(),
              QStringLiteral("  Room: Aldergrove (0.05/0.10) No Limit - Good Luck ann!"));
}

// A reply that rebuilds the list between the two clicks of a double click
// (as the lobby asks for one when it is restored) clears the selection; the
// double click still opens the row under the pointer.
TEST_F(LobbyWindow, DoubleClickOpensTheRowUnderThePointerWhenTheListWasRebuiltBetweenItsClicks)
{
    openLobbyWithTables();
    QTreeWidget& list = *lobby->tableList();
    const QPoint at = list.visualItemRect(list.topLevelItem(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    click(kRefreshButton);
    serverListsTables({{"Aldergrove", 1000, "0.05/0.10", 2, 10, 14},
                       {"Brackenridge", 1001, "0.10/0.25", 3, 6, 0},
                       {"Cinderfall", 1002, "0.50/1", 0, 10, 120}});
    ASSERT_TRUE(waitUntil([&] { return list.selectedItems().isEmpty(); }));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(lobby->tableWindows().size(), 1u);
    EXPECT_EQ(lobby->tableWindows()[0]->tableName(), "Brackenridge");
}

TEST_F(LobbyWindow, TheKeyboardMovesThroughTheTablesAndOpensOne)
{
    openLobbyWithTables();
    QTreeWidget& list = *lobby->tableList();
    EXPECT_EQ(list.topLevelItem(1)->data(2, Qt::AccessibleTextRole).toString(), QStringLiteral("Stakes: 0.10/0.25"));
    list.setFocus();
    // As the focus coming in leaves it: on the first row, nothing selected.
    list.selectionModel()->setCurrentIndex(list.model()->index(0, 0), QItemSelectionModel::NoUpdate);
    std::size_t before = sender.lines.size();
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_THAT(sentSince(before), ElementsAre("WATCH_TABLE:\t0\r"));
    lobby->showNormal();
    before = sender.lines.size();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_THAT(sentSince(before), ElementsAre("REQUEST_PLAYERS:\t1\r"));
    before = sender.lines.size();
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_THAT(sentSince(before), ElementsAre("WATCH_TABLE:\t1\r"));
    ASSERT_EQ(lobby->tableWindows().size(), 2u);
    EXPECT_EQ(lobby->tableWindows()[1]->tableName(), "Brackenridge");
}

// "Speak table events" starts as the screen reader says, then as the user
// chose; "Keyboard..." refuses a key another command holds.
TEST_F(LobbyWindow, KeyboardAndSpeechChoicesAreKept)
{
    const std::string path = programDirectory.filePath(QStringLiteral("keyboard.txt")).toStdString();
    for (const bool screenReader : {true, false}) {
        std::remove(path.c_str());
        context.screenReaderRunning = [screenReader] { return screenReader; };
        openLobby();
        EXPECT_EQ(state.preferences.speakTableEvents, screenReader);
        EXPECT_EQ(lobby->command(kSpeakTableEvents)->isChecked(), screenReader);
        const int revision = state.preferences.revision;
        choose(kSpeakTableEvents);
        EXPECT_EQ(state.preferences.speakTableEvents, !screenReader);
        EXPECT_EQ(lobby->command(kSpeakTableEvents)->isChecked(), !screenReader);
        EXPECT_GT(state.preferences.revision, revision);
        lobby.reset();
        openLobby();   // the choice outlives the screen reader's say
        EXPECT_EQ(state.preferences.speakTableEvents, !screenReader);
        lobby.reset();
    }

    KeyboardDialog dialog(state.preferences, boxes);
    EXPECT_FALSE(dialog.setKey(TableCommand::Fold, QStringLiteral("F2")));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"F2 is already the key of \"Check, Call or Post Blind\"."});
    EXPECT_EQ(dialog.keyField(TableCommand::Fold)->keySequence(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(dialog.setKey(TableCommand::Fold, QStringLiteral("F11")));
    EXPECT_EQ(dialog.chosen().hotkeys.key(TableCommand::Fold), "F11");
}

TEST_F(LobbyWindow, TwoTablesOfOneNameCannotBothBeOpened)
{
    openLobby();
    serverListsTables({{"Twin", 1000, "1/2", 0, 6, 0}, {"Twin", 1001, "2/4", 0, 6, 0}});
    ASSERT_TRUE(waitUntil([this] { return lobby->tableList()->topLevelItemCount() == 2; }));
    doubleClickRow(0);
    lobby->showNormal();
    EXPECT_TRUE(lobby->drawsFrames());
    EXPECT_TRUE(lobby->control<LinkTicker>(kBanner)->isScrolling());
    doubleClickRow(1);
    EXPECT_EQ(lobby->tableWindows().size(), 1u);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Sorry this table is already open!"});
}

TEST_F(LobbyWindow, PageCommandsOpenTheirAddressesWithAFreshLauncher)
{
    openLobby();
    struct Page {
        int id;
        bool menu;   // a menu item, else a button or hot spot to click
        const char* address;
    };
    const Page pagesOpened[] = {
        {kMyAccountSite, true, "https://secure.test"},
        {kEmailUs, true, "http://web.test/index.php?page=contact_us"},
        {kTellAFriend, true, "http://web.test/tellafriend.php"},
        {kCheckServerStatus, true, "https://secure.test/serverstatus.php"},
        {kSoftwareProvider, true, "http://web.test/aboutus.php"},
        {kSecurity, true, "http://web.test/security.php"},
        {kHelpButton, false, "http://web.test/contactus.php"},
        {kSecuritySpot, false, "http://web.test/security.php"},
        {kAboutUsSpot, false, "http://web.test/aboutus.php"},
    };
    for (const Page& page : pagesOpened) {
        desktop.opened.clear();
        if (page.menu)
            choose(page.id);
        else
            click(page.id);
        EXPECT_THAT(desktop.opened, ElementsAre(page.address)) << page.id;
    }
    // With a browser program set, that program gets the address.
    PageOpener browser{config, desktop, launcher, "/usr/bin/test-browser"};
    browser.open(pages::Stickers);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, "/usr/bin/test-browser");
    EXPECT_THAT(launcher.started[0].arguments, ElementsAre("http://web.test/stickers.php"));
}

TEST_F(LobbyWindow, AccountAndInformationCommands)
{
    openLobby();
    struct Case {
        int id;
        bool loggedIn;
        std::vector<std::string> texts;   // boxes shown
        std::size_t cashiers;
    };
    const Case cases[] = {
        {kLoginCommand, true, {"You are currenly logged in"}, 0},
        {kGoToCashier, false, {"Must be logged into access cashier"}, 0},
        {kGoToCashier, true, {}, 1},
        {kClientVersionCommand, false, {"Client Version: 6.7\r"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        boxes.shown.clear();
        dialogs.cashiers.clear();
        state.session.loggedIn = c.loggedIn ? 1 : 0;
        choose(c.id);
        EXPECT_EQ(boxes.texts(), c.texts);
        EXPECT_EQ(dialogs.cashiers.size(), c.cashiers);
    }
    choose(kClientVersionCommand);
    EXPECT_EQ(boxes.shown.back().caption, "Tessaly Client");
    EXPECT_EQ(boxes.shown.back().icon, BoxIcon::Information);

    choose(kSoftwareNotes);
    choose(kAboutTessaly);
    lobby->runCommand(kWindowMenuAbout);
    EXPECT_THAT(dialogs.notes, ElementsAre(lobby.get()));
    EXPECT_THAT(dialogs.abouts, ElementsAre(lobby.get(), lobby.get()));

    // Grayed items stay grayed; "Coming Soon!" is enabled and does nothing.
    for (int grayed : {kChangeEmail, kMakeDeposit, kCashOut, kTransferFunds, kPreviousTransactions, kChangeCardImage,
                       kPressReleases, kHowToPlay, kFrequentlyAskedQuestions, kAffiliatePrograms, kLegalInformation})
        EXPECT_FALSE(lobby->command(grayed)->isEnabled()) << grayed;
    boxes.shown.clear();
    choose(kComingSoon);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LobbyWindow, NetworkMonitorStartsLinkscopeOrSaysItCannot)
{
    openLobby();
    choose(kNetworkMonitor);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, "./Linkscope");
    EXPECT_TRUE(launcher.started[0].arguments.empty());
    EXPECT_TRUE(boxes.shown.empty());
    launcher.succeeds = false;
    choose(kNetworkMonitor);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Unable to start game directory problem?"});
}

TEST_F(LobbyWindow, LogoffAndLogoutEndTheProcessAtOnceWithCodeOne)
{
    openLobby();
    choose(kLogoffAndExit);
    state.session.loggedIn = 1;
    ASSERT_TRUE(waitUntil([this] { return widget(kLogoutButton)->isVisible(); }));
    click(kLogoutButton);
    EXPECT_THAT(exit.codes, ElementsAre(1, 1));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_THAT(sender.lines, ElementsAre("LIST_TABLES"));
}

TEST_F(LobbyWindow, LoginSwapsTheButtonsAndGreetsTheUserOnceAndForAll)
{
    openLobby();
    state.session.screenName = "ann";
    serverSays("LOGIN_SUCCESS");
    ASSERT_TRUE(waitUntil([this] { return lobby->swapDone(); }, dlgLobby::kSwapPeriodMs + 200));
    EXPECT_FALSE(widget(kLoginButton)->isVisible());
    EXPECT_FALSE(widget(kSignupButton)->isVisible());
    EXPECT_TRUE(widget(kLogoutButton)->isVisible());
    EXPECT_TRUE(widget(kMyAccountButton)->isVisible());
    ASSERT_TRUE(waitUntil([this] { return lobby->windowTitle().startsWith(QStringLiteral(" Welcome")); },
                          dlgLobby::kCaptionPeriodMs + 200));
    EXPECT_EQ(lobby->windowTitle(), QStringLiteral(" Welcome to Tessaly Lobby Good Luck ann !!!"));

    // A later refusal clears the flag but nothing switches back.
    serverSays("LOGIN_FAIL");
    QTest::qWait(dlgLobby::kSwapPeriodMs + 100);
    EXPECT_TRUE(widget(kLogoutButton)->isVisible());
    EXPECT_EQ(lobby->windowTitle(), QStringLiteral(" Welcome to Tessaly Lobby Good Luck ann !!!"));
    // ... and the cashier asks for a login again.
    click(kCashierButton);
    EXPECT_TRUE(dialogs.cashiers.empty());
    EXPECT_TRUE(lobby->cashierAfterLogin());
}

TEST_F(LobbyWindow, CashierClickedBeforeLoginOpensOnceAfterIt)
{
    openLobby();
    click(kCashierButton);
    EXPECT_TRUE(dialogs.cashiers.empty());
    EXPECT_EQ(dialogs.logins.size(), 1u);
    EXPECT_THAT(dialogs.focused, ElementsAre(dialogs.logins[0]));
    serverSays("LOGIN_SUCCESS");
    ASSERT_TRUE(waitUntil([this] { return !dialogs.cashiers.empty(); }, dlgLobby::kSwapPeriodMs + 200));
    QTest::qWait(2 * dlgLobby::kSwapPeriodMs);
    EXPECT_THAT(dialogs.cashiers, ElementsAre(lobby.get()));
    // Logged in, the button opens it straight away.
    click(kCashierButton);
    EXPECT_EQ(dialogs.cashiers.size(), 2u);
}

TEST_F(LobbyWindow, LoginAndSignupUseTheOneLoginDialogUntilItHasGone)
{
    openLobby();
    QPointer<QDialog> first = lobby->loginDialog();
    first->hide();   // the title-bar close only hides it
    click(kLoginButton);
    EXPECT_EQ(dialogs.logins.size(), 1u);
    EXPECT_TRUE(first->isVisible());
    EXPECT_THAT(dialogs.focused, ElementsAre(first.data()));
    click(kSignupButton);
    EXPECT_THAT(dialogs.registrations, ElementsAre(first.data()));
    EXPECT_EQ(dialogs.focused.size(), 2u);

    // The dialog destroys itself after a login; a later command makes a new one.
    delete first.data();
    EXPECT_EQ(lobby->loginDialog(), nullptr);
    choose(kLoginCommand);
    ASSERT_EQ(dialogs.logins.size(), 2u);
    EXPECT_EQ(lobby->loginDialog(), dialogs.logins[1]);
    EXPECT_TRUE(dialogs.logins[1]->isVisible());
}

TEST_F(LobbyWindow, EscapeAsksBeforeClosingAndEnterDoesNothing)
{
    openLobby();
    QTest::keyClick(lobby.get(), Qt::Key_Return);
    EXPECT_TRUE(lobby->isVisible());
    EXPECT_TRUE(boxes.shown.empty());

    boxes.answers = {BoxAnswer::Cancel};
    QTest::keyClick(lobby.get(), Qt::Key_Escape);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "You sure you want to leave Tessaly");
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly Warning");
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::OkCancel);
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_TRUE(lobby->isVisible());

    QTest::keyClick(lobby.get(), Qt::Key_Escape);
    EXPECT_FALSE(lobby->isVisible());
    EXPECT_EQ(lobby->result(), QDialog::Accepted);
    EXPECT_TRUE(exit.codes.empty());
}

TEST_F(LobbyWindow, ClosingTheLobbyTakesItsWindowsWithIt)
{
    openLobbyWithTables();
    doubleClickRow(0);
    QPointer<QDialog> login = lobby->loginDialog();
    QPointer<dlgPokerRoom> room = lobby->tableWindows().at(0);
    lobby->close();
    EXPECT_EQ(lobby->result(), QDialog::Rejected);
    EXPECT_TRUE(login.isNull());
    EXPECT_TRUE(room.isNull());
    EXPECT_FALSE(lobby->backdrop().ready());
    // Timers are gone too: nothing is asked of the server any more.
    const std::size_t before = sender.lines.size();
    state.session.loggedIn = 1;
    QTest::qWait(dlgLobby::kSwapPeriodMs + 100);
    EXPECT_TRUE(sentSince(before).empty());
    EXPECT_FALSE(lobby->swapDone());
}

} // namespace
} // namespace tessaly
