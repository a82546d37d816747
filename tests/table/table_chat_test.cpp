// The table chat on its controls: lines into the log each frame, the hand
// numbers, the chat input's Enter, the hot spots and menu 192.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "client/table/ClientState.h"
#include "client/table/TableChat.h"
#include "client/ui/ChatLog.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/DialogWindow.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace tessaly {
namespace {

using ::testing::ElementsAre;

const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

const DialogTemplate& chatWindowTemplate()
{
    static const DialogTemplate tmpl{.resource = 155, .width = 532, .height = 335, .controls = chatControls()};
    return tmpl;
}

// The format of the character at `offset` in the block.
QTextCharFormat formatAt(const QTextBlock& block, int offset)
{
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + offset + 1);
    return cursor.charFormat();
}

class TableChatTest : public ::testing::Test {
protected:
    TableChatTest()
    {
        window.show();
        state.session.screenName = "ann";
    }
    TableState& table() { return state.tables[6]; }
    QTextEdit& log() { return *chat.log(); }
    QString lineAt(int index) { return log().document()->findBlockByNumber(index).text(); }

    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    ChatPictureTable pictures{qEnvironmentVariable("TESSALY_DIST_DIR").toStdString()};
    int loginShown = 0;
    DialogWindow window{chatWindowTemplate(), skinDialogBuilder()};
    TableChat chat{window, {table(), state.session, 6, sender, boxes, pictures, &window, [this] { ++loginShown; }}};
};

TEST_F(TableChatTest, EveryLineOfAFrameReachesTheLogInOrderWithItsStyle)
{
    table().queueChatLine("Dealer", "#88 hand starting");
    table().queueChatLine("bob", "gl :)");
    table().queueChatLine("Dealer", "bob wins with a pair");
    table().queueChatLine("Dealer", "we play on");   // a player named Dealer
    table().queueChatLine("", "a line without a sender");
    chat.frameStep();

    ASSERT_EQ(log().document()->blockCount(), 4);
    EXPECT_EQ(lineAt(0), QStringLiteral("Dealer: #88 hand starting"));
    EXPECT_EQ(lineAt(1), QStringLiteral("bob: gl \uFFFC"));
    EXPECT_EQ(lineAt(2), QStringLiteral("Dealer: bob wins with a pair"));
    EXPECT_EQ(lineAt(3), QStringLiteral("Dealer: we play on"));

    struct Style {
        int line;
        int offset;
        QColor colour;
        bool bold;
    };
    const Style styles[] = {
        {0, 0, kBlack, true}, {0, 8, kBlack, false},   // dealer
        {1, 0, kBlue, true},  {1, 5, kBlue, false},    // player
        {2, 0, kBlack, true}, {2, 8, kBlue, true},     // dealer result
        {3, 0, kBlack, true}, {3, 8, kBlack, false},   // "Dealer" the player
    };
    for (const Style& s : styles) {
        const QTextCharFormat format = formatAt(log().document()->findBlockByNumber(s.line), s.offset);
        EXPECT_EQ(format.foreground().color(), s.colour) << "line " << s.line << " at " << s.offset;
        EXPECT_EQ(format.fontWeight() == QFont::Bold, s.bold) << "line " << s.line << " at " << s.offset;
    }

    EXPECT_EQ(table().thisHandText, "#88");
    EXPECT_TRUE(table().chatQueue.empty());
    EXPECT_TRUE(table().chatSender.empty());
    EXPECT_TRUE(table().chatText.empty());

    table().queueChatLine("Dealer", "#89 hand starting");
    table().queueChatLine("bob", "#90 hand starting");   // only the dealer numbers hands
    chat.frameStep();
    EXPECT_EQ(table().thisHandText, "#89");
    EXPECT_EQ(table().lastHandText, "#88");
    chat.frameStep();
    EXPECT_EQ(log().document()->blockCount(), 6);
}

TEST_F(TableChatTest, TheSmileySwitchTurnsPicturesOff)
{
    state.session.smileysShown = 0;
    table().queueChatLine("bob", "nice :h :)");
    chat.frameStep();
    EXPECT_EQ(lineAt(0), QStringLiteral("bob: nice h )"));
}

TEST_F(TableChatTest, EnterSendsTheLineOrSaysWhyNot)
{
    struct Case {
        const char* name;
        bool loggedIn;
        QString typed;
        std::vector<std::string> sent;
        std::vector<std::string> shown;
        QString left;
        int logins;
    };
    const QString longest(199, u'x');
    const QString tooLong(200, u'x');
    const Case cases[] = {
        {"empty", true, "", {}, {}, "", 0},
        {"logged out", false, "hi", {}, {kChatLoginMessage}, "hi", 1},
        {"sent", true, "hi :) all", {"SEND_MESSAGE:\tann\t6\thi :) all\t\r"}, {}, "", 0},
        {"199 characters", true, longest, {"SEND_MESSAGE:\tann\t6\t" + longest.toStdString() + "\t\r"}, {}, "", 0},
        {"200 characters", true, tooLong, {}, {kChatTooLongMessage}, tooLong, 0},
        {"a tab cannot cut the fields", true, "a\tb", {"SEND_MESSAGE:\tann\t6\ta b\t\r"}, {}, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sender.lines.clear();
        boxes.shown.clear();
        loginShown = 0;
        state.session.loggedIn = c.loggedIn ? 1 : 0;
        chat.input()->setText(c.typed);
        chat.sendInput();
        EXPECT_EQ(sender.lines, c.sent);
        EXPECT_EQ(boxes.texts(), c.shown);
        EXPECT_EQ(chat.input()->text(), c.left);
        EXPECT_EQ(loginShown, c.logins);
    }
    // The boxes as they are shown.
    state.session.loggedIn = 0;
    boxes.shown.clear();
    chat.input()->setText("hi");
    chat.sendInput();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly Message");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Information);
    EXPECT_TRUE(boxes.shown[0].systemModal);
    state.session.loggedIn = 1;
    chat.input()->setText(tooLong);
    chat.sendInput();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].caption, "Tessaly");
}

TEST_F(TableChatTest, ControlsHaveTheirNamesAndTheHotSpotsTalkAboutHandHistories)
{
    EXPECT_EQ(log().accessibleName(), QStringLiteral("Chat log"));
    EXPECT_TRUE(log().isReadOnly());
    EXPECT_EQ(chat.input()->accessibleName(), QStringLiteral("Chat"));
    EXPECT_EQ(window.comboBox(kChatFilter)->currentText(), QStringLiteral("Dealer - Everything"));
    EXPECT_EQ(log().geometry(), window.toPixels({127, 284, 134, 34}));
    EXPECT_EQ(chat.input()->geometry(), window.toPixels({127, 320, 134, 12}));

    for (const int spot : {kThisHandSpot, kLastHandSpot}) {
        boxes.shown.clear();
        auto* button = window.control<QAbstractButton>(spot);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->accessibleName().isEmpty());
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, kHandHistoriesMessage);
        EXPECT_EQ(boxes.shown[0].caption, "");
    }
}

TEST(PlayerMenu, TakePlayerNotesRunsItsCommandAndDisableDoesNothing)
{
    QWidget owner;
    int notes = 0;
    QMenu* menu = playerMenu(&owner, [&] { ++notes; });
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Take Player Notes"));
    EXPECT_EQ(commandId(actions[0]), kTakePlayerNotes);
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Disable Players' Chat"));
    EXPECT_EQ(commandId(actions[1]), kDisablePlayersChat);
    EXPECT_EQ(playerMenuTemplate().resource, 192);
    actions[1]->trigger();
    EXPECT_EQ(notes, 0);
    actions[0]->trigger();
    EXPECT_EQ(notes, 1);
}

} // namespace
} // namespace tessaly
