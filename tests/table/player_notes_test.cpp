// The player notes windows: one per name, their files in notes/ across
// restarts, hostile names, a notes folder that cannot be written, the pin.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "client/table/PlayerNotes.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace tessaly {
namespace {

// Each test runs in a fresh current directory, as the client does in its own.
class PlayerNotesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }

    static void type(PlayerNotesWindow& window, const QString& text)
    {
        window.notesBox()->setFocus();
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(window.notesBox(), Qt::Key_Return);
            QTest::keyClicks(window.notesBox(), lines[i]);
        }
    }
    static QByteArray fileText(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Every file below the current directory, relative to it.
    QStringList allFiles() const
    {
        QStringList files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(dir.path()).relativeFilePath(it.next());
        return files;
    }

    QTemporaryDir dir;
    QString previous;
    ScriptedMessageBoxes boxes;
};

TEST_F(PlayerNotesTest, NotesComeBackAfterARestart)
{
    {
        PlayerNotes notes(boxes);
        PlayerNotesWindow* window = notes.open("ann");
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ann's notes"));
        EXPECT_EQ(window->notesBox()->accessibleName(), QStringLiteral("Notes on ann"));
        EXPECT_EQ(window->notesBox()->geometry().height(), window->height());
        type(*window, "calls too much\nbluffs the river");
        // Escape closes the window as its close box does.
        QTest::keyClick(window->notesBox(), Qt::Key_Escape);
        EXPECT_EQ(notes.find("ann"), nullptr);
    }
    EXPECT_EQ(fileText("notes/ann.txt"), QByteArray("calls too much\nbluffs the river"));
    EXPECT_TRUE(boxes.shown.empty());

    PlayerNotes restarted(boxes);
    PlayerNotesWindow* again = restarted.open("ann");
    EXPECT_EQ(again->notesBox()->toPlainText(), QStringLiteral("calls too much\nbluffs the river"));
    EXPECT_EQ(restarted.open("bob")->notesBox()->toPlainText(), QString());
}

TEST_F(PlayerNotesTest, ASecondOpenBringsTheOpenWindowForward)
{
    PlayerNotes notes(boxes);
    PlayerNotesWindow* first = notes.open("ann");
    type(*first, "tight");
    first->showMinimized();
    PlayerNotesWindow* second = notes.open("ann");
    EXPECT_EQ(second, first);
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(second->isMinimized());
    EXPECT_EQ(second->notesBox()->toPlainText(), QStringLiteral("tight"));
    EXPECT_NE(notes.open("bob"), first);
}

TEST_F(PlayerNotesTest, HostileNamesKeepTheirOwnFilesInsideNotes)
{
    const std::vector<std::string> names{
        "../x", "/etc/passwd", "a/b", "..", ".hidden", std::string("nul\0name", 8), std::string(255, 'L'),
        "a%2Fb", "ann",
    };
    {
        PlayerNotes notes(boxes);
        for (std::size_t i = 0; i < names.size(); ++i) {
            PlayerNotesWindow* window = notes.open(names[i]);
            type(*window, QStringLiteral("note %1").arg(i));
            ASSERT_TRUE(window->close()) << i;
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
    const QStringList files = allFiles();
    EXPECT_EQ(files.size(), static_cast<qsizetype>(names.size())) << files.join(u' ').toStdString();
    for (const QString& file : files)
        EXPECT_TRUE(file.startsWith(QStringLiteral("notes/"))) << file.toStdString();
    EXPECT_TRUE(files.contains(QStringLiteral("notes/ann.txt")));

    PlayerNotes restarted(boxes);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(restarted.open(names[i])->notesBox()->toPlainText(), QStringLiteral("note %1").arg(i)) << i;
}

TEST_F(PlayerNotesTest, AFailedSaveKeepsTheWindowAndItsText)
{
    // A file where the folder should be: nothing can be written below it.
    QFile blocker(QStringLiteral("notes"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    PlayerNotes notes(boxes);
    PlayerNotesWindow* window = notes.open("ann");
    type(*window, "do not lose this");
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(notes.find("ann"), window);
    EXPECT_EQ(window->notesBox()->toPlainText(), QStringLiteral("do not lose this"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Could not save file notes/ann.txt");
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Exclamation);

    // Once the folder can be written, the next close writes the notes.
    ASSERT_TRUE(QFile::remove(QStringLiteral("notes")));
    EXPECT_TRUE(window->close());
    EXPECT_EQ(fileText("notes/ann.txt"), QByteArray("do not lose this"));

    // Notes the user did not touch are not held hostage by the folder.
    PlayerNotesWindow* bob = notes.open("bob");
    ASSERT_TRUE(QDir(QStringLiteral("notes")).removeRecursively());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(bob->close());
}

TEST_F(PlayerNotesTest, ThePinKeepsTheWindowOnTop)
{
    PlayerNotes notes(boxes);
    PlayerNotesWindow* window = notes.open("ann");
    QToolButton* pin = window->pinButton();
    EXPECT_EQ(pin->accessibleName(), QStringLiteral("Keep on top"));
    EXPECT_FALSE(window->keepsOnTop());
    EXPECT_EQ(pin->icon().pixmap(16).toImage(), iconResource(199).pixmap(16).toImage());

    QTest::mouseClick(pin, Qt::LeftButton);
    EXPECT_TRUE(window->keepsOnTop());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(pin->icon().pixmap(16).toImage(), iconResource(200).pixmap(16).toImage());

    QTest::mouseClick(pin, Qt::LeftButton);
    EXPECT_FALSE(window->keepsOnTop());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->isVisible());

    notes.onTopByDefault = true;
    EXPECT_TRUE(notes.open("bob")->keepsOnTop());
}

} // namespace
} // namespace tessaly
