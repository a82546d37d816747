// The lobby's own drawing: the background made once, the back buffer made
// again for a new client size, and only the text band redrawn, only when
// its text changes.

#include <gtest/gtest.h>

#include <QPainter>

#include "client/lobby/LobbyBackdrop.h"
#include "client/ui/Picture.h"

namespace tessaly {
namespace {

TEST(LobbyBackdrop, WholeScreenFactorsDropTheRemainderAndNeverFallBelowOne)
{
    const std::pair<double, int> cases[] = {{1.0, 1}, {1.25, 1}, {1.5, 1}, {2.0, 2}, {2.5, 2}, {0.75, 1}};
    for (const auto& [fraction, whole] : cases)
        EXPECT_EQ(wholeScreenFactor(fraction), whole) << fraction;
}

Picture solidPicture(QColor colour)
{
    QImage image(798, 489, QImage::Format_RGB32);
    image.fill(colour);
    Picture picture;
    picture.setImage(image);
    return picture;
}

TEST(LobbyBackdrop, RedrawsOnlyTheTextBandAndOnlyWhenItsTextChanges)
{
    LobbyBackdrop backdrop;
    backdrop.setScale({1.0, 1.0});
    const Picture picture = solidPicture(Qt::darkBlue);
    const QSize client(797, 489);

    EXPECT_EQ(backdrop.compose(client, picture, "Server time: 10:00 CT 3 live users on 2 tables."),
              QRect(QPoint(0, 0), client));
    EXPECT_TRUE(backdrop.compose(client, picture, "Server time: 10:00 CT 3 live users on 2 tables.").isEmpty());
    const QRect band = backdrop.compose(client, picture, "Server time: 10:01 CT 4 live users on 2 tables.");
    EXPECT_EQ(band, backdrop.textBand());
    EXPECT_EQ(band.top(), LobbyBackdrop::kWelcomeY);
    EXPECT_LE(band.bottom(), LobbyBackdrop::kStatusY + LobbyBackdrop::kTextPixels);

    // White text over the picture in the band, the picture elsewhere.
    QImage shot(client, QImage::Format_RGB32);
    QPainter painter(&shot);
    backdrop.draw(painter, {0, 0}, QRect(QPoint(0, 0), client));
    painter.end();
    EXPECT_EQ(shot.pixel(400, 300), QColor(Qt::darkBlue).rgb());
    bool white = false;
    for (int x = 16; x < 200 && !white; ++x)
        for (int y = LobbyBackdrop::kStatusY; y < LobbyBackdrop::kStatusY + 16 && !white; ++y)
            white = shot.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_TRUE(white);
}

TEST(LobbyBackdrop, ANewClientSizeMakesANewBufferButKeepsTheFirstBackground)
{
    LobbyBackdrop backdrop;
    backdrop.setScale({1.25, 1.25});
    const Picture picture = solidPicture(Qt::darkGreen);
    backdrop.compose({797, 489}, picture, "a");
    EXPECT_EQ(backdrop.compose({820, 500}, picture, "a"), QRect(0, 0, 820, 500));
    EXPECT_EQ(backdrop.backBufferSize(), QSize(820, 500));
    EXPECT_EQ(backdrop.backgroundSize(), QSize(797, 489));
    // At 120 dpi the text is placed with the fractional scale.
    EXPECT_EQ(backdrop.textBand().top(), static_cast<int>(LobbyBackdrop::kWelcomeY * 1.25));

    backdrop.release();
    EXPECT_FALSE(backdrop.ready());
}

} // namespace
} // namespace tessaly
