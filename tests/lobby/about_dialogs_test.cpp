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

// How many pixels of the shown frame differ from the still picture, within
// `radius` of the point and outside it.
std::pair<int, int> changedPixels(const AboutPicture& picture, QPoint at, int radius)
{
    const QImage still = bitmapImage(208).convertToFormat(QImage::Format_RGB32);
    std::pair<int, int> changed{0, 0};
    for (int y = 0; y < AboutPicture::kHeight; ++y) {
        for (int x = 0; x < AboutPicture::kWidth; ++x) {
            if (picture.image().pixel(x, y) == still.pixel(x, y))
                continue;
            const QPoint d = QPoint(x, y) - at;
            (d.x() * d.x() + d.y() * d.y() <= radius * radius ? changed.first : changed.second) += 1;
        }
    }
    return changed;
}

TEST(AboutDialog, ThePictureRipplesUnderThePointerAndWhereItIsClicked)
{
    ClientState state;
    dlgAbout about(state);
    AboutPicture* picture = about.picture();
    EXPECT_FALSE(picture->animating());
    about.show();
    EXPECT_TRUE(picture->animating());

    // Still water: the frames are the picture.
    picture->animate();
    EXPECT_EQ(changedPixels(*picture, {0, 0}, 0), std::make_pair(0, 0));

    // The pointer passing leaves small rings where it went, near its path.
    const QPoint trail[] = {{100, 80}, {112, 82}, {124, 84}};
    for (const QPoint at : trail) {
        QTest::mouseMove(about.windowHandle(), picture->mapTo(&about, at));
        picture->animate();
    }
    picture->animate();
    picture->animate();
    for (const QPoint at : trail)
        EXPECT_GT(changedPixels(*picture, at, 8).first, 0) << at.x();
    EXPECT_EQ(changedPixels(*picture, trail[1], 40).second, 0);

    // A click drops a large one: its ring lies some 50 pixels out. (The box's
    // own timer may add a tick or two while events are delivered.)
    const QPoint click(300, 200);
    QTest::mouseClick(picture, Qt::LeftButton, {}, click);
    for (int tick = 0; tick < 3; ++tick)
        picture->animate();
    const int ring = changedPixels(*picture, click, 60).first - changedPixels(*picture, click, 40).first;
    EXPECT_GT(ring, 50);

    about.hide();
    EXPECT_FALSE(picture->animating());
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
