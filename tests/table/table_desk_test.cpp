// Table windows among others: the table grows and shrinks with its window,
// a window comes back where the user left it, a waiting table comes forward
// only when the user is idle elsewhere, and the queue's key and list bring
// the waiting tables forward in turn.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <cmath>
#include <set>
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "client/table/ActionQueueList.h"
#include "client/table/ClientState.h"
#include "client/table/PlayerNotes.h"
#include "client/table/PokerRoomWindow.h"
#include "client/table/TableDesk.h"
#include "client/table/TablePages.h"
#include "client/ui/ChatLog.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

using std::chrono::milliseconds;

class TableDeskTest : public ::testing::Test {
protected:
    TableDeskTest()
    {
        EXPECT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR"))));
        // As the lobby is while tables are open; its key works in every window.
        lobby.showMinimized();
    }
    ~TableDeskTest() override
    {
        for (const QPointer<dlgPokerRoom>& w : windows)
            delete w.data();
    }

    dlgPokerRoom* open(int tableId, const std::string& name)
    {
        state.tables[static_cast<std::size_t>(tableId)].seatCount = 10;
        auto* window = new dlgPokerRoom(context, tableId, name);
        window->show();
        windows.emplace_back(window);
        return window;
    }
    // The table's turn, as "ACTION:" leaves it in the record.
    void turn(int tableId)
    {
        TableState& t = state.tables[static_cast<std::size_t>(tableId)];
        t.seatPlayer(2, "ann", 50.0f, 0.0f, 2002);
        t.userSeat = 2;
        t.userSeatedHere = 1;
        t.userToAct = 1;
        t.promptKind = 0;
        t.promptSetUp = 0;
        t.minRaiseTo = 2.0f;
        t.raiseToCopy = 2.0f;
        t.actionArrived = 1;
        t.bringToFront = 1;
    }
    static bool comesToFront(dlgPokerRoom* window)
    {
        return waitUntil([window] { return QApplication::activeWindow() == window; }, 2000);
    }

    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    struct NoPages final : TablePages {
        void openTellAFriend() const override {}
    } pages;
    QWidget lobby;
    RecordingSound sound;
    ChatPictureTable chatPictures;
    PlayerNotes notes{boxes};
    QTemporaryDir settings;
    SteadyTime now{std::chrono::seconds(500)};
    TableDesk* desk = new TableDesk(settings.filePath(QString::fromLatin1(kTableWindowsFileName)),
                                    [this] { return now; }, &lobby);
    TableWindowContext context{state, sender, boxes, sound, pages, &lobby, [] {}, chatPictures, notes, desk};
    std::vector<QPointer<dlgPokerRoom>> windows;
};

std::vector<QWidget*> shownControls(const dlgPokerRoom& window)
{
    std::vector<QWidget*> shown;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !child->isHidden())
            shown.push_back(child);
    return shown;
}

TEST_F(TableDeskTest, TheTableScalesWithItsWindowAndKeepsItsShape)
{
    dlgPokerRoom* window = open(4, "Marsh");
    // The table's area and the hand log's pane beside it.
    const QSize base(window->baseClient().width, window->baseClient().height);
    const QSize table = window->clientRect().size();
    // The window opens at the size the screen has room for; from zoom 1 on:
    window->resize(base);
    ASSERT_TRUE(waitUntil([&] { return window->zoom() == 1.0; }, 2000));
    const std::vector<QWidget*> controls = shownControls(*window);
    ASSERT_GT(controls.size(), 4u);
    std::vector<QRect> at1;
    std::vector<double> fontsAt1;
    for (QWidget* c : controls) {
        at1.push_back(c->geometry());
        fontsAt1.push_back(c->font().pointSizeF());
    }
    for (const double zoom : {0.6, 1.5, 2.5, 1.0}) {
        SCOPED_TRACE(zoom);
        window->resize((QSizeF(base) * zoom).toSize());
        ASSERT_TRUE(waitUntil([&] { return std::abs(window->zoom() - zoom) < 1e-3; }, 2000));
        for (std::size_t i = 0; i < controls.size(); ++i) {
            EXPECT_NEAR(controls[i]->x(), at1[i].x() * zoom, 1.0);
            EXPECT_NEAR(controls[i]->width(), at1[i].width() * zoom, 1.0);
            if (fontsAt1[i] > 0) {   // a font set in points; pixel fonts scale alike
                EXPECT_NEAR(controls[i]->font().pointSizeF(), fontsAt1[i] * zoom, 0.01);
            }
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                if (!at1[i].intersects(at1[j])) {
                    EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry())) << i << " " << j;
                }
            }
        }
        window->frameStep();
        EXPECT_EQ(window->frame().image().size(), (QSizeF(table) * zoom).toSize());
    }
    // A wider window shows the table at the zoom its height allows, then
    // takes the table's shape.
    window->resize(base.width() * 2, base.height());
    EXPECT_TRUE(waitUntil([&] { return window->size() == base; }, 2000));
    EXPECT_EQ(window->zoom(), 1.0);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(TableDeskTest, AWindowComesBackWhereTheUserLeftIt)
{
    dlgPokerRoom* window = open(4, "Marsh / East");
    // Small enough to stand wholly on the offscreen screen where it is put.
    window->move(40, 50);
    window->resize((QSizeF(window->baseClient().width, window->baseClient().height) * 0.7).toSize());
    ASSERT_TRUE(waitUntil([&] { return std::abs(window->zoom() - 0.7) < 1e-3; }, 2000));
    const QRect left = window->frameGeometry();
    ASSERT_TRUE(window->leave(dlgPokerRoom::LeaveBy::LeaveButton));
    dlgPokerRoom* again = open(4, "Marsh / East");
    EXPECT_EQ(again->frameGeometry(), left);
    EXPECT_NEAR(again->zoom(), 0.7, 1e-3);
}

TEST_F(TableDeskTest, AWaitingTableWaitsForTheUserToBeIdleElsewhere)
{
    dlgPokerRoom* first = open(4, "Marsh");
    dlgPokerRoom* second = open(7, "Fen");
    first->activateWindow();
    ASSERT_TRUE(comesToFront(first));

    // A key in the first window just now: the second table's turn does not
    // take the keyboard from it.
    QTest::keyClick(first->windowHandle(), Qt::Key_A);
    turn(7);
    second->frameStep();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), first);
    now += milliseconds(999);
    second->frameStep();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), first);
    // A second without input: it comes forward.
    now += milliseconds(1);
    second->frameStep();
    EXPECT_TRUE(comesToFront(second));
    EXPECT_EQ(desk->queue().next(std::nullopt), 7);
}

TEST_F(TableDeskTest, TheQueueBringsTheWaitingTablesForwardOldestFirst)
{
    dlgPokerRoom* first = open(4, "Marsh");
    dlgPokerRoom* second = open(7, "Fen");
    QTreeWidget list;
    ActionQueueList queueList(list, *desk);
    first->activateWindow();
    ASSERT_TRUE(comesToFront(first));
    QTest::keyClick(first->windowHandle(), Qt::Key_A);   // the user is busy: nothing jumps
    turn(7);
    second->frameStep();
    now += milliseconds(300);
    turn(4);
    first->frameStep();
    queueList.refresh();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(0)->text(0), "Fen - 20 s");
    EXPECT_EQ(list.topLevelItem(1)->text(0), "Marsh - 20 s");

    // The user acts at the table in front: the next waiting one follows.
    auto* check = qobject_cast<QAbstractButton*>(first->control(1021));
    ASSERT_TRUE(check != nullptr && check->isVisible());
    QTest::mouseClick(check, Qt::LeftButton);
    first->frameStep();
    second->frameStep();
    EXPECT_TRUE(comesToFront(second));

    // Ctrl+Tab brings the next one, with the keyboard on its action bar.
    turn(4);
    first->frameStep();
    QTest::keyClick(second->windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(comesToFront(first));
    const std::set<QWidget*> actionBar{first->control(1021), first->control(1022), first->control(1023),
                                       first->control(1024)};
    EXPECT_TRUE(actionBar.contains(QApplication::focusWidget()));
    EXPECT_TRUE(QApplication::focusWidget()->isVisible());
}

} // namespace
} // namespace tessaly
