// The about box's values and picture, and the software notes.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "client/lobby/AboutDialog.h"
#include "client/lobby/SoftwareNotesDialog.h"
#include "client/table/ClientState.h"
#include "platform/gui/Desktop.h"

namespace tessaly {
namespace {

TEST(AboutDialog, ShowsTheVersionTheServerTimeAndThePicture)
{
    ClientState state;
    state.session.serverTimeText = "14:05:09";
    dlgAbout about(state);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("  About Tessaly Online Poker Room"));
    EXPECT_EQ(about.staticText(1107)->text(), QStringLiteral("6.70"));
    EXPECT_EQ(about.staticText(1109)->text(), QStringLiteral("14:05:09"));

    const AboutPicture* picture = about.picture();
    EXPECT_EQ(picture->geometry(), QRect(about.clientRect().topLeft() + QPoint(10, 20), QSize(454, 290)));
    EXPECT_EQ(picture->image().convertToFormat(QImage::Format_RGB32),
              bitmapImage(208).convertToFormat(QImage::Format_RGB32));
    // Nothing covers the picture, and it fits inside the window.
    EXPECT_TRUE(about.rect().contains(picture->geometry()));
    for (const QWidget* child : about.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != picture) {
            EXPECT_FALSE(child->geometry().intersects(picture->geometry())) << child->objectName().toStdString();
        }

    about.show();
    QTest::mouseClick(about.button(1), Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(SoftwareNotesDialog, ShowsTheNotesReadOnly)
{
    softwareNotesDlg notes;
    EXPECT_EQ(notes.windowTitle(), QStringLiteral("Software Notes"));
    const QTextEdit* text = notes.richEdit(1012);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->toPlainText(),
              QStringLiteral("Software Notes.\nWe are not using dead blinds in the gameplay (will be enabled once out "
                             "of beta phase mode)\n"));
    notes.show();
    QTest::keyClick(notes.button(1), Qt::Key_Space);
    EXPECT_EQ(notes.result(), QDialog::Accepted);
}

} // namespace
} // namespace tessaly
