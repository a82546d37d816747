// The table window: "WATCH_TABLE:" on opening, the record's window flags,
// the picture, the timers, the seat buttons and joining a seat, the buy-in
// opened by the window in front only, the betting controls driven by the
// frame step, the navigation buttons and the leave sequence.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "client/table/ClientState.h"
#include "client/table/BuyInDialog.h"
#include "client/table/PlayerNotes.h"
#include "client/table/PokerRoomWindow.h"
#include "client/table/TablePages.h"
#include "client/ui/Announcer.h"
#include "client/ui/ChatLog.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

using ::testing::ElementsAre;

class TableWindow : public ::testing::Test {
protected:
    TableWindow() { EXPECT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR")))); }

    // A window for a table, opened as the lobby opens one.
    dlgPokerRoom* open(int seatCount = 10, int tableId = 4, const std::string& name = "Marsh")
    {
        state.tables[static_cast<std::size_t>(tableId)].seatCount = seatCount;
        state.session.openTableNames.push_back(name);
        lobby.showMinimized();
        auto* window = new dlgPokerRoom(context, tableId, name);
        window->show();
        return window;
    }
    // The showing seat buttons' names.
    static std::vector<std::string> seatButtonsShown(const dlgPokerRoom& window)
    {
        std::vector<std::string> names;
        for (int id = 1002; id <= 1066; ++id) {
            auto* button = qobject_cast<QAbstractButton*>(window.control(id));
            if (button != nullptr && !button->isHidden() && button->accessibleName().startsWith("Seat"))
                names.push_back(button->accessibleName().toStdString());
        }
        return names;
    }
    TableState& table() { return state.tables[4]; }

    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    struct RecordingPages final : TablePages {
        void openTellAFriend() const override { ++tellAFriend; }
        mutable int tellAFriend = 0;
    } pages;
    QWidget lobby;
    RecordingSound sound;
    int loginsShown = 0;
    ChatPictureTable chatPictures;
    PlayerNotes notes{boxes};
    TableWindowContext context{state, sender, boxes, sound, pages, &lobby, [this] { ++loginsShown; }, chatPictures,
                               notes};
};

TEST_F(TableWindow, OpeningWatchesTheTableAndSetsTheRecordsWindowFlags)
{
    table().promptSetUp = 1;
    table().sittingOut = 1;
    QPointer<dlgPokerRoom> window = open();
    EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));
    EXPECT_EQ(table().promptSetUp, 0);
    EXPECT_EQ(table().sittingOut, 0);
    EXPECT_EQ(table().blinkWord, 1);
    EXPECT_TRUE(boxes.shown.empty());
    // Dialog 155 at 532 x 335 units, at zoom 1.
    EXPECT_EQ(window->clientRect().size(), QSize(798, 544));
    // The hand log's pane stands beside the table, as high as it.
    EXPECT_EQ(window->height(), window->clientRect().height());
    const QWidget* log = window->findChild<QWidget*>(QStringLiteral("handLog"));
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->geometry().left(), window->clientRect().right() + 1);
    EXPECT_EQ(log->geometry().right(), window->width() - 1);
    // The frame shows the table's picture, not an empty window.
    window->frameStep();
    const QImage frame = window->grab(window->clientRect()).toImage();
    EXPECT_NE(frame.pixel(399, 200), frame.pixel(5, 5));
    delete window;
}

TEST_F(TableWindow, TheTurnMarkerBlinksEvery800Ms)
{
    QPointer<dlgPokerRoom> window = open();
    ASSERT_TRUE(waitUntil([this] { return table().blinkWord == 0; }, dlgPokerRoom::kBlinkPeriodMs + 300));
    ASSERT_TRUE(waitUntil([this] { return table().blinkWord == 1; }, dlgPokerRoom::kBlinkPeriodMs + 300));
    delete window;
}

TEST_F(TableWindow, AMissingBackgroundIsReportedAndTheWindowGoesOn)
{
    QTemporaryDir empty;
    ASSERT_TRUE(QDir::setCurrent(empty.path()));
    for (const auto& [seats, text] : {std::pair{6, "ERROR LOADING sixseattablePlayMoney.JPG"},
                                      std::pair{10, "ERROR LOADING POKERCOVER.JPG"}}) {
        boxes.shown.clear();
        QPointer<dlgPokerRoom> window = open(seats);
        // The chip pictures are missing too, each with its own box.
        ASSERT_FALSE(boxes.shown.empty());
        EXPECT_EQ(boxes.shown[0].text, text);
        EXPECT_TRUE(window->isVisible());
        delete window;
    }
}

TEST_F(TableWindow, LeaveSequenceAsksOnlyInAHandAndThenClosesEverything)
{
    struct Case {
        bool seatedHere;
        bool inHand;
        bool byCloseBox;
        BoxAnswer answer;
        bool asked;
        bool leaves;
    };
    const Case cases[] = {
        {false, false, true, BoxAnswer::Yes, false, true},
        {true, false, false, BoxAnswer::Yes, false, true},
        {true, true, true, BoxAnswer::No, true, false},
        {true, true, false, BoxAnswer::Yes, true, true},
        {true, true, true, BoxAnswer::Yes, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.seatedHere << c.inHand << c.byCloseBox << c.leaves);
        state = ClientState{};
        sender.lines.clear();
        boxes.shown.clear();
        boxes.answers = {c.answer};
        QPointer<dlgPokerRoom> window = open();
        table().userSeatedHere = c.seatedHere ? 1 : 0;
        table().userSeat = 3;
        table().ownCardsLive[3] = c.inHand ? 1 : 0;
        table().seatPlayer(3, "ann", 20.0f, 0.0f, 2002);
        state.session.seatedSomewhere = 1;
        if (c.byCloseBox)
            window->close();
        else
            QTest::mouseClick(window->control(1034), Qt::LeftButton);

        ASSERT_EQ(boxes.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(boxes.shown[0].text, kLeaveInHandMessage);
            EXPECT_EQ(boxes.shown[0].caption, "Tessaly Warning");
            EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::YesNo);
            EXPECT_EQ(boxes.shown[0].icon, c.byCloseBox ? BoxIcon::Exclamation : BoxIcon::None);
        }
        if (!c.leaves) {
            EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));
            EXPECT_TRUE(window->isVisible());
            EXPECT_THAT(state.session.openTableNames, ElementsAre("Marsh"));
            delete window;
            continue;
        }
        EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r", "CLOSE_WINDOW:\t4\r"));
        EXPECT_TRUE(state.session.openTableNames.empty());
        EXPECT_EQ(table().closed, 1);
        EXPECT_EQ(table().userSeatedHere, 0);
        EXPECT_EQ(table().seatOccupied[3], 0);
        // Only a window the user was seated at clears seatedSomewhere.
        EXPECT_EQ(state.session.seatedSomewhere, c.seatedHere ? 0 : 1);
        EXPECT_FALSE(lobby.isMinimized());
        // The window is deleted once control is back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(TableWindow, ViewLobbyInviteAndMinimise)
{
    QPointer<dlgPokerRoom> window = open();
    QTest::mouseClick(window->control(1033), Qt::LeftButton);
    EXPECT_FALSE(lobby.isMinimized());
    EXPECT_TRUE(lobby.isVisible());
    QTest::mouseClick(window->control(1060), Qt::LeftButton);
    EXPECT_EQ(pages.tellAFriend, 1);
    // Minimising the table brings the lobby back.
    lobby.showMinimized();
    window->showMinimized();
    EXPECT_FALSE(lobby.isMinimized());
    delete window;
}

TEST_F(TableWindow, EscapeAsksAndLeavesOnlyThroughTheLeaveSequence)
{
    for (const BoxAnswer answer : {BoxAnswer::Cancel, BoxAnswer::Ok}) {
        state = ClientState{};
        sender.lines.clear();
        boxes.shown.clear();
        boxes.answers = {answer};
        QPointer<dlgPokerRoom> window = open();
        QTest::keyClick(window.data(), Qt::Key_Escape);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "You sure you want to leave Tessaly");
        EXPECT_EQ(boxes.shown[0].caption, "Tessaly Warning");
        EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::OkCancel);
        EXPECT_TRUE(boxes.shown[0].systemModal);
        if (answer == BoxAnswer::Cancel) {
            EXPECT_TRUE(window->isVisible());
            EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));
            delete window;
            continue;
        }
        // OK: the whole leave sequence, so the table can be opened again.
        EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r", "CLOSE_WINDOW:\t4\r"));
        EXPECT_TRUE(state.session.openTableNames.empty());
        EXPECT_EQ(table().closed, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(TableWindow, FreeSeatsOfTheTablesLayoutOfferTheirButtonsUntilTheUserSits)
{
    QPointer<dlgPokerRoom> window = open(10);
    table().seatPlayer(0, "ann", 20.0f, 0.0f, 2002);
    table().seatPlayer(3, "bob", 20.0f, 0.0f, 2002);
    window->frameStep();
    EXPECT_THAT(seatButtonsShown(*window), ElementsAre("Seat 2", "Seat 3", "Seat 5", "Seat 6", "Seat 7", "Seat 8",
                                                       "Seat 9", "Seat 10"));
    table().seatCount = 6;
    window->frameStep();
    EXPECT_THAT(seatButtonsShown(*window), ElementsAre("Seat 2", "Seat 3", "Seat 5", "Seat 6"));
    table().userSeatedHere = 1;
    window->frameStep();
    EXPECT_TRUE(seatButtonsShown(*window).empty());
    delete window;
}

TEST_F(TableWindow, ASeatChosenLoggedOutIsRequestedAfterLoginAndTheBalanceOpensTheBuyIn)
{
    state.session.screenName = "ann";
    QPointer<dlgPokerRoom> window = open(10);
    window->frameStep();
    QTest::mouseClick(window->control(1004), Qt::LeftButton);   // seat 2
    EXPECT_EQ(loginsShown, 1);
    EXPECT_EQ(state.session.pendingJoin, 1);
    EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));

    state.session.loggedIn = 1;
    window->seatStep();
    EXPECT_EQ(table().userSeat, 2);
    EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r", "ACCOUNT_BALANCE_PM:\tann\r"));

    state.session.balanceArrived = 1;
    QApplication::setActiveWindow(window);
    window->seatStep();
    ASSERT_NE(window->buyInDialog(), nullptr);
    EXPECT_TRUE(window->buyInDialog()->isVisible());
    EXPECT_EQ(state.session.balanceArrived, 0);
    EXPECT_EQ(state.session.pendingJoin, 0);
    delete window->buyInDialog();
    delete window;
}

TEST_F(TableWindow, WithTwoTablesOpenOnlyTheOneInFrontOpensTheBuyIn)
{
    state.session.loggedIn = 1;
    state.session.screenName = "ann";
    QPointer<dlgPokerRoom> behind = open(10, 4, "Marsh");
    QPointer<dlgPokerRoom> front = open(6, 5, "Fen");
    QApplication::setActiveWindow(front);
    state.session.balanceArrived = 1;
    behind->seatStep();
    EXPECT_EQ(behind->buyInDialog(), nullptr);
    EXPECT_EQ(state.session.balanceArrived, 1);
    front->seatStep();
    EXPECT_NE(front->buyInDialog(), nullptr);
    EXPECT_EQ(state.session.balanceArrived, 0);
    delete front->buyInDialog();
    delete front;
    delete behind;
}

TEST_F(TableWindow, SeatedElsewhereIsRefused)
{
    state.session.loggedIn = 1;
    state.session.seatedSomewhere = 1;
    QPointer<dlgPokerRoom> window = open(10);
    window->requestSeat(2);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"We are sorry, but you can only be seated at one table"});
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly Message");
    EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));
    delete window;
}

TEST_F(TableWindow, APromptComesForwardAndShowsItsControls)
{
    QPointer<dlgPokerRoom> window = open(10);
    table().seatPlayer(2, "ann", 50.0f, 0.0f, 2002);
    table().userSeat = 2;
    table().userSeatedHere = 1;
    table().userToAct = 1;
    table().promptKind = 0;
    table().minRaiseTo = 2.0f;
    table().raiseToCopy = 2.0f;
    table().actionArrived = 1;
    table().bringToFront = 1;
    window->showMinimized();
    window->frameStep();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(table().bringToFront, 0);
    EXPECT_EQ(table().promptSetUp, 1);
    auto* left = qobject_cast<QAbstractButton*>(window->control(1021));
    auto* middle = qobject_cast<QAbstractButton*>(window->control(1022));
    EXPECT_FALSE(left->isHidden());
    EXPECT_EQ(left->text(), "Check");
    EXPECT_EQ(middle->text(), "Bet to 2");
    QTest::mouseClick(left, Qt::LeftButton);
    EXPECT_EQ(sender.lines.back(), "REPLY:\t4\t6\r");
    window->frameStep();
    EXPECT_TRUE(left->isHidden());
    delete window;
}

// The keyboard at the table: hotkeys act on shown buttons of the active
// window only, the prompt is spoken when the user asked for speech, and
// the seats are reached and read out.
TEST_F(TableWindow, HotkeysActAndTheTableSpeaks)
{
    state.preferences.speakTableEvents = true;
    QPointer<dlgPokerRoom> window = open(10);
    table().seatPlayer(2, "ann", 50.0f, 0.0f, 2002);
    table().seatPlayer(5, "Nimbus", 9.6f, 0.0f, 2002);
    table().dealerSeat = 5;
    table().userSeat = 2;
    table().userSeatedHere = 1;
    window->frameStep();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* announcer = window->findChild<Announcer*>();
    ASSERT_NE(announcer, nullptr);
    // Texts said in one burst each stay on a notification of their own
    // until a screen reader reads it.
    announcer->announce(QStringLiteral("Flop: 9 of diamonds, 10 of hearts, 8 of spades"));
    announcer->announce(QStringLiteral("Your turn: check"));
    QStringList shown;
    for (QWidget* slot : announcer->findChildren<QWidget*>(QLatin1String(Announcer::kSlotName))) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(slot)->role(), QAccessible::Notification);
        if (slot->isVisible())
            shown << QAccessible::queryAccessibleInterface(slot)->text(QAccessible::Name);
    }
    EXPECT_THAT(shown, testing::UnorderedElementsAre(QStringLiteral("Flop: 9 of diamonds, 10 of hearts, 8 of spades"),
                                                      QStringLiteral("Your turn: check")));

    QTest::keyClick(window, Qt::Key_F2);   // no prompt: the button is hidden
    EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));
    table().userToAct = 1;
    table().promptKind = kPromptCheckOrBet;
    table().minRaiseTo = 2.0f;
    table().actionArrived = 1;
    window->frameStep();
    EXPECT_EQ(announcer->last(), QStringLiteral("Your turn: check, bet at least 2, pot 0"));
    EXPECT_TRUE(window->control(1021)->hasFocus());
    QTest::keyClick(window, Qt::Key_F2);
    EXPECT_EQ(sender.lines.back(), "REPLY:\t4\t6\r");

    QTest::keyClick(window, Qt::Key_6, Qt::AltModifier);
    EXPECT_EQ(announcer->last(), QStringLiteral("Seat 6: Nimbus, 9.60, dealer"));
    QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(announcer->last(), QStringLiteral("Seat 6: Nimbus, 9.60, dealer"));
    EXPECT_EQ(announcer->count(), 5);

    // Tab reaches the taken seats, named after what they hold.
    QStringList seats;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible() && button->focusPolicy() & Qt::TabFocus && button->accessibleName().startsWith("Seat 6"))
            seats << button->accessibleName();
    EXPECT_EQ(seats, QStringList{QStringLiteral("Seat 6: Nimbus, 9.60, dealer")});
    delete window;
}

TEST_F(TableWindow, GetMoreChipsNeedsASeatHere)
{
    QPointer<dlgPokerRoom> window = open(10);
    QTest::mouseClick(window->control(1032), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Must be seated to get more chips"});
    EXPECT_EQ(window->rebuyDialog(), nullptr);
    delete window;
}

TEST_F(TableWindow, TheWindowDescribesTheTableForScreenReaders)
{
    QPointer<dlgPokerRoom> window = open(10);
    table().seatPlayer(3, "bob", 20.0f, 0.0f, 2002);
    table().actingSeat = 3;
    table().pots[0] = 7.5f;
    window->frameStep();
    EXPECT_EQ(window->accessibleDescription(), "Table Marsh. Pots: 7.50. To act: bob.");
    EXPECT_EQ(window->control(1033)->accessibleName(), "View Lobby");
    EXPECT_EQ(window->control(1034)->accessibleName(), "Leave Table");
    delete window;
}

} // namespace
} // namespace tessaly
