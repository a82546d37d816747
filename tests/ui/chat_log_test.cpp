// The chat log: coloured lines with pictures appended to a read-only
// QTextEdit, the user's selection, the scrolling and the size limit.

#include <gtest/gtest.h>

#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include "client/ui/ChatLog.h"

namespace tessaly {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

std::string distDir() { return qEnvironmentVariable("TESSALY_DIST_DIR").toStdString(); }

// The pictures as the client finds them: from the program's directory while
// the working directory is somewhere else.
const ChatPictureTable& installedPictures()
{
    static const ChatPictureTable table = [] {
        QTemporaryDir elsewhere;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        ChatPictureTable loaded(distDir());
        QDir::setCurrent(previous);
        return loaded;
    }();
    return table;
}

// One run of a line: its text (U+FFFC for a picture), picture name, format.
struct LogRun {
    QString text;
    QString picture;
    QTextCharFormat format;
};

std::vector<LogRun> runsOf(const QTextBlock& block)
{
    std::vector<LogRun> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const QString picture = format.isImageFormat() ? format.toImageFormat().name() : QString();
        runs.push_back({fragment.text(), picture, format});
    }
    return runs;
}

class ChatLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.setReadOnly(true);
        log.resize(200, 60);
        log.show();
    }
    void append(std::string_view sender, std::string_view text, QColor senderColour = kBlue,
                QColor textColour = kBlue, bool bold = false)
    {
        AppendChatLine(log, {installedPictures(), shown}, sender, text, senderColour, textColour, bold);
    }

    QTextEdit log;
    bool shown = true;
};

TEST_F(ChatLogTest, PicturesComeFromTheProgramsDirectoryWhateverTheWorkingDirectory)
{
    for (int i = 0; i < kChatPictureCount; ++i)
        EXPECT_EQ(installedPictures().image(i).size(), QSize(19, 19))
            << chatPictureTokens()[static_cast<std::size_t>(i)].file;
    const ChatPictureTable none("/nonexistent");
    EXPECT_TRUE(none.image(0).isNull());
}

TEST_F(ChatLogTest, ALineIsABoldColouredSenderThenTheMessageWithPictures)
{
    append("Dealer: ", "Seat 3 wins with a pair", kBlack, kBlue, true);
    append("ann: ", "hi :) [chip]");
    const QTextDocument& document = *log.document();
    ASSERT_EQ(document.blockCount(), 2);

    const std::vector<LogRun> dealer = runsOf(document.firstBlock());
    ASSERT_EQ(dealer.size(), 2u);
    EXPECT_EQ(dealer[0].text, QStringLiteral("Dealer: "));
    EXPECT_EQ(dealer[0].format.fontWeight(), QFont::Bold);
    EXPECT_EQ(dealer[0].format.foreground().color(), kBlack);
    EXPECT_EQ(dealer[1].text, QStringLiteral("Seat 3 wins with a pair"));
    EXPECT_EQ(dealer[1].format.fontWeight(), QFont::Bold);
    EXPECT_EQ(dealer[1].format.foreground().color(), kBlue);
    for (const LogRun& run : dealer) {
        EXPECT_EQ(run.format.fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Sans"));
        EXPECT_DOUBLE_EQ(run.format.fontPointSize(), 8.25);
    }

    const std::vector<LogRun> player = runsOf(document.lastBlock());
    ASSERT_EQ(player.size(), 5u);
    EXPECT_EQ(player[0].text, QStringLiteral("ann: "));
    EXPECT_EQ(player[0].format.fontWeight(), QFont::Bold);
    EXPECT_EQ(player[1].text, QStringLiteral("hi "));
    EXPECT_EQ(player[1].format.fontWeight(), QFont::Normal);
    EXPECT_EQ(player[1].format.foreground().color(), kBlue);
    EXPECT_EQ(player[2].picture, ChatPictureTable::resourceName(0).toString());
    EXPECT_EQ(player[3].text, QStringLiteral(" "));
    EXPECT_EQ(player[4].picture, ChatPictureTable::resourceName(22).toString());
    // The document holds the picture itself: nothing is read per line.
    const QImage held =
        document.resource(QTextDocument::ImageResource, ChatPictureTable::resourceName(0)).value<QImage>();
    EXPECT_EQ(held, installedPictures().image(0));
}

TEST_F(ChatLogTest, PicturesOffAndMissingPicturesLeaveText)
{
    shown = false;
    append("ann: ", "nice :h 10:30");
    EXPECT_EQ(log.toPlainText(), QStringLiteral("ann: nice h 1030"));

    const ChatPictureTable none("/nonexistent");
    AppendChatLine(log, {none, true}, "bob: ", "ok :)", kBlue, kBlue, false);
    EXPECT_EQ(log.document()->lastBlock().text(), QStringLiteral("bob: ok :)"));
}

TEST_F(ChatLogTest, TheUsersSelectionStaysAndTheLogShowsItsNewestLine)
{
    for (int i = 0; i < 30; ++i)
        append("ann: ", "line " + std::to_string(i));
    QScrollBar* bar = log.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    for (const bool toTheEnd : {false, true}) {
        QTextCursor selection(log.document());
        selection.setPosition(toTheEnd ? log.document()->lastBlock().position() : 5);
        selection.movePosition(toTheEnd ? QTextCursor::End : QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        log.setTextCursor(selection);
        const QString selected = log.textCursor().selectedText();
        append("bob: ", "a new line :)");
        EXPECT_EQ(log.textCursor().selectedText(), selected);
        EXPECT_EQ(bar->value(), bar->maximum());
    }
}

TEST_F(ChatLogTest, AFullLogDropsItsOldestLinesAndTakesEveryNewOne)
{
    const std::string text(100, 'x');
    const QTextDocument& document = *log.document();
    int lines = 0;
    int most = 0;
    // Lines of 110 characters and more: this many overflow the log once.
    while (lines < kChatLogLimit / 110 + 50) {
        append("ann: ", std::to_string(lines++) + " " + text);
        most = std::max(most, document.characterCount() - 1);
    }
    append("bob: ", std::to_string(lines++) + " " + text);

    EXPECT_LE(most, kChatLogLimit);
    EXPECT_GT(most, kChatLogLimit - 200);
    EXPECT_LE(document.characterCount() - 1, kChatLogLimit);
    EXPECT_GT(document.characterCount() - 1, kChatLogKept - 200);
    EXPECT_EQ(document.lastBlock().text().toStdString(), "bob: " + std::to_string(lines - 1) + " " + text);
    // Whole lines went from the top: the first one left is a whole line.
    EXPECT_TRUE(document.firstBlock().text().startsWith(QStringLiteral("ann: ")));
    EXPECT_TRUE(document.firstBlock().text().endsWith(QString::fromStdString(text)));
    EXPECT_FALSE(document.firstBlock().text().startsWith(QStringLiteral("ann: 0 ")));
}

} // namespace
} // namespace tessaly
