// The banner's timer, pause under the pointer, resumption, link colours and
// clicks. The slot arithmetic itself is tested in toolkit_rules_test.

#include <gtest/gtest.h>

#include <QTest>

#include "client/ui/LinkTicker.h"

namespace tessaly {
namespace {

struct Banner {
    Banner()
    {
        ticker.resize(400, 20);
        ticker.setOpener([this](const QString& address) { opened << address; });
        ticker.show();
        exposed = QTest::qWaitForWindowExposed(&ticker);
    }

    // Moves the pointer and waits until the banner has seen it (at once
    // offscreen; an X server delivers the motion later).
    bool pointAt(QPoint position, int expectedItem)
    {
        QTest::mouseMove(&ticker, position);
        return QTest::qWaitFor([&] { return ticker.hoveredItem() == expectedItem; }, 2000);
    }

    int firstX() const { return ticker.track().visible().front().x; }

    bool showsHoverColour()
    {
        const QImage shot = ticker.grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == (LinkTicker::kHoveredLinkText | 0xFF000000))
                    return true;
        return false;
    }

    LinkTicker ticker;
    QStringList opened;
    bool exposed = false;
};

TEST(LinkTicker, StartsOnlyWithItemsAndScrollsOnItsTimer)
{
    Banner banner;
    EXPECT_FALSE(banner.ticker.start(true));
    EXPECT_FALSE(banner.ticker.isScrolling());
    banner.ticker.addItem("http://www.tessaly.test/", "Welcome to Tessaly, Good Luck!!");
    ASSERT_TRUE(banner.ticker.start(true));
    EXPECT_EQ(banner.firstX(), 0);
    QTest::qWait(200);
    EXPECT_LT(banner.firstX(), 0);
}

TEST(LinkTicker, StandsStillWhileItsWindowIsMinimisedAndGoesOnWhenRestored)
{
    Banner banner;
    banner.ticker.addItem("", "Sit & Go + Multi Table Tournaments coming soon !!");
    ASSERT_TRUE(banner.ticker.start(true));
    banner.ticker.showMinimized();
    EXPECT_FALSE(banner.ticker.isScrolling());
    ASSERT_TRUE(banner.ticker.start(false));
    EXPECT_FALSE(banner.ticker.isScrolling());
    banner.ticker.showNormal();
    EXPECT_TRUE(banner.ticker.isScrolling());
}

TEST(LinkTicker, PointingAtALinkPausesAndLightsItAndAClickOpensIt)
{
    Banner banner;
    banner.ticker.addItem("http://www.tessaly.test/stickers.php", "Show your support by displaying one of our Banners!");
    banner.ticker.start(true);
    ASSERT_TRUE(banner.exposed);
    EXPECT_FALSE(banner.showsHoverColour());
    ASSERT_TRUE(banner.pointAt(QPoint(60, 10), 0));
    EXPECT_FALSE(banner.ticker.isScrolling());
    EXPECT_TRUE(banner.showsHoverColour());
    const int stoppedAt = banner.firstX();
    QTest::qWait(100);
    EXPECT_EQ(banner.firstX(), stoppedAt);

    QTest::mouseClick(&banner.ticker, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    EXPECT_EQ(banner.opened, QStringList{QStringLiteral("http://www.tessaly.test/stickers.php")});

    // Off the item: it goes on from where it stood.
    ASSERT_TRUE(banner.pointAt(QPoint(60, 1), -1));
    EXPECT_TRUE(banner.ticker.isScrolling());
    QTest::qWait(100);
    EXPECT_LT(banner.firstX(), stoppedAt);
    EXPECT_GT(banner.firstX(), stoppedAt - 20);
}

TEST(LinkTicker, APlainItemPausesWithoutHighlightAndIgnoresClicks)
{
    Banner banner;
    banner.ticker.addItem("", "Sit & Go + Multi Table Tournaments coming soon !!");
    banner.ticker.start(true);
    ASSERT_TRUE(banner.exposed);
    ASSERT_TRUE(banner.pointAt(QPoint(40, 10), 0));
    EXPECT_FALSE(banner.ticker.isScrolling());
    EXPECT_FALSE(banner.showsHoverColour());
    QTest::mouseClick(&banner.ticker, Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_TRUE(banner.opened.isEmpty());
}

} // namespace
} // namespace tessaly
