// SkinButton's image choice, transparency, press offset, hover tracking,
// caption and tooltip, seen through grabs of a host window.

#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "client/ui/SkinButton.h"

namespace tessaly {
namespace {

constexpr QRgb kFirstKey = 0xFF00F0;
const QColor kHostColour(0, 128, 0);
const QColor kFirst(200, 0, 0);
const QColor kSecond(0, 0, 200);

// An image of one colour whose left column is the key colour.
QImage face(const QColor& colour, QRgb key)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < image.height(); ++y)
        image.setPixel(0, y, key | 0xFF000000);
    return image;
}

struct Host {
    Host()
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, kHostColour);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.resize(120, 60);
        button = new SkinButton(&window);
        button->move(40, 20);
        // The pictures by state, without the focus ring drawn over them.
        button->setFocusPolicy(Qt::NoFocus);
    }

    void showActive()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QColor at(int x, int y) { return window.grab().toImage().pixelColor(button->x() + x, button->y() + y); }

    QWidget window;
    SkinButton* button;
};

TEST(SkinButton, ImageByStateWithTransparentKeyAndPressOffset)
{
    Host host;
    ASSERT_EQ(host.button->setImages(face(kFirst, kFirstKey), kFirstKey, face(kSecond, 0), 0), 0);
    host.button->sizeToContent();
    EXPECT_EQ(host.button->size(), QSize(20, 10));
    EXPECT_EQ(host.button->pos(), QPoint(40, 20));
    host.showActive();

    // Resting: the second image; its key column shows the window behind.
    EXPECT_EQ(host.at(5, 5), kSecond);
    EXPECT_EQ(host.at(0, 5), kHostColour);
    // Pressed: the first image, one pixel right and down.
    host.button->setDown(true);
    EXPECT_EQ(host.at(5, 5), kFirst);
    EXPECT_EQ(host.at(1, 5), kHostColour);
    EXPECT_EQ(host.at(5, 0), kHostColour);
    host.button->setDown(false);
    // Disabled: a grey copy.
    host.button->setEnabled(false);
    const QColor grey = host.at(5, 5);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
}

TEST(SkinButton, HoverShowsTheFirstImageAndLeavingClearsIt)
{
    Host host;
    host.button->setImages(face(kFirst, kFirstKey), kFirstKey, face(kSecond, 0), 0);
    host.button->sizeToContent();
    host.showActive();
    QTest::mouseMove(host.button, QPoint(10, 5));
    EXPECT_TRUE(host.button->isHovering());
    EXPECT_EQ(host.at(5, 5), kFirst);
    QTest::mouseMove(&host.window, QPoint(5, 5));
    EXPECT_FALSE(host.button->isHovering());
    EXPECT_EQ(host.at(5, 5), kSecond);
}

TEST(SkinButton, ADragFromOutsideShowsNoHoverUntilTheButtonIsUp)
{
    Host host;
    host.button->setImages(face(kFirst, kFirstKey), kFirstKey, face(kSecond, 0), 0);
    host.button->sizeToContent();
    host.showActive();
    QTest::mousePress(&host.window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(&host.window, QPoint(50, 25));
    EXPECT_FALSE(host.button->isHovering());
    EXPECT_EQ(host.at(5, 5), kSecond);
    QTest::mouseRelease(&host.window, Qt::LeftButton, Qt::NoModifier, QPoint(50, 25));
    QTest::mouseMove(host.button, QPoint(11, 6));
    EXPECT_TRUE(host.button->isHovering());
}

TEST(SkinButton, AFirstImageAloneShowsInEveryState)
{
    Host host;
    host.button->setImages(face(kFirst, kFirstKey), kFirstKey, QImage(), 0);
    host.button->sizeToContent();
    host.showActive();
    EXPECT_EQ(host.at(5, 5), kFirst);
    QTest::mouseMove(host.button, QPoint(10, 5));
    EXPECT_EQ(host.at(5, 5), kFirst);
}

TEST(SkinButton, BitmapResourcesByNumberAndAFailedLoad)
{
    Host host;
    EXPECT_EQ(host.button->setBitmaps(186, kFirstKey, 176, 0), 0);
    host.button->sizeToContent();
    EXPECT_EQ(host.button->size(), QSize(72, 23));
    // A missing resource: failure, and no image is kept at all.
    EXPECT_NE(host.button->setBitmaps(186, kFirstKey, 99999, 0), 0);
    host.button->resize(30, 12);
    host.showActive();
    EXPECT_EQ(host.at(15, 6), kHostColour);
}

TEST(SkinButton, ACaptionIsDrawnCentredOverTheImage)
{
    Host host;
    host.window.resize(200, 60);
    QImage wide(110, 30, QImage::Format_RGB32);
    wide.fill(kFirst);
    host.button->setImages(wide, kFirstKey, QImage(), 0);
    host.button->sizeToContent();
    host.showActive();
    const QImage blank = host.window.grab().toImage();
    host.button->setText(QStringLiteral("Call 2.50"));
    const QImage captioned = host.window.grab().toImage();
    int changed = 0;
    int leftmost = 1000;
    int rightmost = -1;
    for (int x = 0; x < 110; ++x)
        for (int y = 0; y < 30; ++y)
            if (captioned.pixel(40 + x, 20 + y) != blank.pixel(40 + x, 20 + y)) {
                ++changed;
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    EXPECT_GT(changed, 20);
    EXPECT_NEAR((leftmost + rightmost) / 2.0, 55, 3);
}

TEST(SkinButton, TooltipsWrapAtFourHundredPixelsAndCanBeSwitchedOff)
{
    Host host;
    host.button->setImages(face(kFirst, kFirstKey), kFirstKey, QImage(), 0);
    host.button->sizeToContent();
    host.showActive();
    QString longLine;
    for (int i = 0; i < 30; ++i)
        longLine += QStringLiteral("chips ");
    host.button->setTooltipText(QStringLiteral("Click to leave table.\r\n") + longLine, true);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), host.button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(host.button, &help);
    const QStringList lines = QToolTip::text().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Click to leave table."));
    for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(QToolTip::font()).horizontalAdvance(line), 400);

    host.button->setTooltipText(QStringLiteral("Click here to play on this table !"), false);
    QApplication::sendEvent(host.button, &help);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

} // namespace
} // namespace tessaly
