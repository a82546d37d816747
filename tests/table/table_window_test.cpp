// The table window as far as its frame goes: "WATCH_TABLE:" on opening, the
// record's window flags, the background picture, the timers, the
// navigation buttons and the leave sequence.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "client/lobby/PageOpener.h"
#include "client/table/ClientState.h"
#include "client/table/PokerRoomWindow.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/RecordingUrlOpener.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

using ::testing::ElementsAre;

class TableWindow : public ::testing::Test {
protected:
    TableWindow() { EXPECT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR")))); }

    // A window for table 4, opened as the lobby opens one.
    dlgPokerRoom* open(int seatCount = 10)
    {
        state.tables[4].seatCount = seatCount;
        state.session.openTableNames = {"Marsh"};
        lobby.showMinimized();
        auto* window = new dlgPokerRoom(context, 4, "Marsh");
        window->show();
        return window;
    }
    TableState& table() { return state.tables[4]; }

    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    RecordingUrlOpener desktop;
    testing::RecordingLauncher launcher;
    PageOpener pages{ClientConfig{"http://web.test", "https://secure.test", "127.0.0.1"}, desktop, launcher, ""};
    QWidget lobby;
    TableWindowContext context{state, sender, boxes, pages, &lobby};
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
    // Dialog 155 at 532 x 335 units, fixed.
    EXPECT_EQ(window->clientRect().size(), QSize(798, 544));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    // The frame shows the table's picture, not an empty window.
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
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{text});
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

TEST_F(TableWindow, ViewLobbyInviteAndEscape)
{
    QPointer<dlgPokerRoom> window = open();
    QTest::mouseClick(window->control(1033), Qt::LeftButton);
    EXPECT_FALSE(lobby.isMinimized());
    EXPECT_TRUE(lobby.isVisible());
    QTest::mouseClick(window->control(1060), Qt::LeftButton);
    EXPECT_THAT(desktop.opened, ElementsAre("http://web.test/tellafriend.php"));
    // Escape does not take the window away behind the leave sequence.
    QTest::keyClick(window.data(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_THAT(sender.lines, ElementsAre("WATCH_TABLE:\t4\r"));
    // Minimising the table brings the lobby back.
    lobby.showMinimized();
    window->showMinimized();
    EXPECT_FALSE(lobby.isMinimized());
    delete window;
}

} // namespace
} // namespace tessaly
