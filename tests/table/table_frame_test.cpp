// The table frame drawn offscreen, frame by frame: pixel probes of fixed
// records at 10 and 6 seats, the animations as they show, and frames that
// are not drawn again when nothing changed.

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <utility>

#include "client/table/SeatLayout.h"
#include "client/table/TableFrame.h"
#include "client/table/TableState.h"
#include "client/ui/CardImages.h"
#include "client/ui/Picture.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/TableScenes.h"

namespace tessaly {
namespace {

const QSize kClient(798, 544);

class TableFrameTest : public ::testing::Test {
protected:
    TableFrameTest()
    {
        EXPECT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR"))));
        // The card set is the process's, loaded once whichever test runs first.
        LoadCardImages(boxes);
    }

    void load(int seatCount)
    {
        frame.load(boxes, nullptr, seatCount);
        ASSERT_TRUE(boxes.shown.empty()) << boxes.shown[0].text;
    }
    QImage draw(TableState& table, ScreenScale scale = {}, QSize client = kClient)
    {
        EXPECT_TRUE(frame.render(table, sound, client, scale));
        return frame.image();
    }
    // The frame of an empty table: the felt only.
    QImage felt(int seatCount)
    {
        TableFrame plain;
        plain.load(boxes, nullptr, seatCount);
        TableState empty;
        empty.seatCount = seatCount;
        plain.render(empty, sound, kClient, {});
        return plain.image();
    }

    TableFrame frame;
    ScriptedMessageBoxes boxes;
    RecordingSound sound;
};

// The colour of a picture's pixel, which must be opaque to be a fair probe.
QRgb picturePixel(const std::string& path, QPoint at)
{
    Picture picture;
    EXPECT_EQ(picture.load(path), Picture::kLoaded) << path;
    const QRgb pixel = picture.image().pixel(at);
    EXPECT_EQ(qAlpha(pixel), 255) << path;
    return pixel;
}

QPoint point(SeatGroup group, int seatCount, int seat)
{
    const TablePoint p = seatPoint(group, seatCount, seat);
    return {p.x, p.y};
}

// Some pixel of the rectangle close to the colour.
bool holdsColour(const QImage& image, const QRect& area, QColor colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 30 && std::abs(c.green() - colour.green()) < 30 &&
                std::abs(c.blue() - colour.blue()) < 30)
                return true;
        }
    return false;
}

TEST_F(TableFrameTest, ATenSeatTableMidHand)
{
    load(10);
    TableState table = scenes::midHand(10);
    table.historyPending = 0;
    frame.render(table, sound, kClient, {});   // the first button appears in place
    const QImage image = draw(table);
    const QImage empty = felt(10);

    struct Probe {
        const char* what;
        QPoint at;
        QRgb colour;
    };
    const QPoint button = point(SeatGroup::DealerButton, 10, 2) + QPoint(12, 12);
    // The second card covers all but the first card's left and top edges.
    const QPoint faceDown = point(SeatGroup::FaceDownCards, 10, 9) + QPoint(1, 15);
    const QPoint secondFaceDown = point(SeatGroup::FaceDownCards, 10, 9) + QPoint(3 + 20, 2 + 28);
    const QPoint marker = point(SeatGroup::TurnMarker, 10, 5) + QPoint(13, 13);
    const QPoint ownCard = point(SeatGroup::FaceUpCards, 10, 4) + QPoint(8, 60);
    const QPoint secondOwnCard = point(SeatGroup::FaceUpCards, 10, 4) + QPoint(19 + 50, 1 + 60);
    const QPoint river = QPoint(487 + 28, 145 + 60);
    // Pot 5 holds 1.00: one chip of 1 resting on the pot's point.
    const QPoint potChip = QPoint(kPotPoints[5].x + 12, kPotPoints[5].y - 9);
    const Probe probes[] = {
        {"dealer button", button, picturePixel("images/dealerButton.png", {12, 12})},
        {"face-down card", faceDown, picturePixel("images/smallcard1.bmp", {1, 15})},
        {"second face-down card", secondFaceDown, picturePixel("images/smallcard1.bmp", {20, 28})},
        {"turn marker of seat 5", marker, picturePixel("images/tobutton5.png", {13, 13})},
        {"own first card", ownCard, picturePixel("cards/ad.bmp", {8, 60})},
        {"own second card", secondOwnCard, picturePixel("cards/kh.bmp", {50, 60})},
        {"river", river, picturePixel("cards/2d.bmp", {28, 60})},
        {"chip of pot 5", potChip, picturePixel("chips//d1.gif", {12, 10})},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.what);
        EXPECT_NE(empty.pixel(p.at), p.colour);
        EXPECT_EQ(image.pixel(p.at), p.colour);
    }

    // Names in white and chip counts in yellow inside the boxes; the own
    // seat's box stands at its own point.
    for (const auto& [seat, group] : {std::pair{0, SeatGroup::PlayerBox}, std::pair{9, SeatGroup::PlayerBox},
                                      std::pair{4, SeatGroup::OwnPlayerBox}}) {
        SCOPED_TRACE(seat);
        const QPoint box = point(group, 10, seat);
        EXPECT_TRUE(holdsColour(image, QRect(box + QPoint(10, 5), QSize(65, 12)), Qt::white));
        EXPECT_TRUE(holdsColour(image, QRect(box + QPoint(10, 20), QSize(65, 12)), QColor(255, 255, 0)));
    }
    // The option labels of a seated user, the first in yellow.
    EXPECT_TRUE(holdsColour(image, QRect(20, 474, 120, 12), QColor(255, 255, 0)));
    EXPECT_TRUE(holdsColour(image, QRect(20, 525, 90, 12), Qt::white));
    EXPECT_FALSE(holdsColour(empty, QRect(20, 474, 120, 12), QColor(255, 255, 0)));
}

TEST_F(TableFrameTest, ASixSeatTableUsesItsOwnPointsAndMarkers)
{
    load(6);
    TableState table = scenes::midHand(6);
    table.historyPending = 0;
    table.actingSeat = 2;
    frame.render(table, sound, kClient, {});
    const QImage image = draw(table);
    const QImage empty = felt(6);

    const QPoint marker = point(SeatGroup::TurnMarker, 6, 2) + QPoint(13, 13);
    const QRgb sixSeatMarker = picturePixel("images/6S_tobutton2.png", {13, 13});
    EXPECT_NE(empty.pixel(marker), sixSeatMarker);
    EXPECT_EQ(image.pixel(marker), sixSeatMarker);
    const QPoint button = point(SeatGroup::DealerButton, 6, 2) + QPoint(12, 12);
    EXPECT_EQ(image.pixel(button), picturePixel("images/dealerButton.png", {12, 12}));
    // Seat 5's cards at its 6-seat point, and nothing at seat 7's 10-seat point.
    const QPoint faceDown = point(SeatGroup::FaceDownCards, 6, 5) + QPoint(1, 15);
    EXPECT_EQ(image.pixel(faceDown), picturePixel("images/smallcard1.bmp", {1, 15}));
    const QPoint tenSeatBox = point(SeatGroup::PlayerBox, 10, 7) + QPoint(10, 10);
    EXPECT_EQ(image.pixel(tenSeatBox), empty.pixel(tenSeatBox));
    EXPECT_TRUE(holdsColour(image, QRect(point(SeatGroup::PlayerBox, 6, 3) + QPoint(10, 5), QSize(65, 12)),
                            Qt::white));
}

TEST_F(TableFrameTest, TheDealShowsACardAtItsSeatAfterSixFrames)
{
    load(10);
    TableState table;
    table.seatCount = 10;
    for (const int seat : {7, 2, 5, 9}) {
        table.seatPlayer(seat, "p", 10.0f, 0.0f, kSeatPlaying);
        table.addToHand(seat);
    }
    table.dealerSeat = 5;   // seat 7 gets the first card
    table.startDeal();
    const QPoint seven = point(SeatGroup::FaceDownCards, 10, 7) + QPoint(11, 15);
    const QRgb card = picturePixel("images/smallcard1.bmp", {11, 15});
    for (int frameNo = 1; frameNo <= 5; ++frameNo)
        EXPECT_NE(draw(table).pixel(seven), card) << frameNo;
    EXPECT_EQ(draw(table).pixel(seven), card);
    EXPECT_EQ(sound.played, std::vector<std::string>{"sounds\\card_sliding2.wav"});
}

TEST_F(TableFrameTest, TheAnnouncementShowsAndIsGoneAfterSeventeenFrames)
{
    load(10);
    TableState table;
    table.seatCount = 10;
    table.historyPending = 1;
    table.historySeat = 6;
    table.historyKind = kHistoryCheck;
    const QImage empty = felt(10);
    const QRect word(point(SeatGroup::ActionWord, 10, 6) + QPoint(10, 10), QSize(65, 20));
    EXPECT_TRUE(holdsColour(draw(table), word, Qt::white));
    for (int frameNo = 2; frameNo <= 17; ++frameNo)
        draw(table);
    const QImage after = draw(table);
    EXPECT_EQ(table.historyPending, 0);
    EXPECT_EQ(after.copy(word), empty.copy(word));
    EXPECT_FALSE(frame.render(table, sound, kClient, {}));
}

TEST_F(TableFrameTest, AnUnchangedTableIsNotDrawnAgain)
{
    load(10);
    TableState table = scenes::midHand(10);
    table.historyPending = 0;
    EXPECT_TRUE(frame.render(table, sound, kClient, {}));
    EXPECT_TRUE(frame.render(table, sound, kClient, {}));   // the button settles in place
    EXPECT_FALSE(frame.render(table, sound, kClient, {}));
    EXPECT_FALSE(frame.render(table, sound, kClient, {}));

    table.chatText = "nice hand";   // not drawn on the table
    EXPECT_FALSE(frame.render(table, sound, kClient, {}));
    table.stack[3] = 99.0f;
    EXPECT_TRUE(frame.render(table, sound, kClient, {}));
    EXPECT_FALSE(frame.render(table, sound, kClient, {}));
    table.blinkWord = 0;   // the marker goes off
    EXPECT_TRUE(frame.render(table, sound, kClient, {}));
    EXPECT_FALSE(frame.render(table, sound, kClient, {}));
    EXPECT_TRUE(frame.render(table, sound, kClient, {1.25, 1.25}));
    EXPECT_TRUE(frame.render(table, sound, QSize(900, 700), {1.25, 1.25}));
    EXPECT_EQ(frame.image().size(), QSize(900, 700));
    EXPECT_FALSE(frame.render(table, sound, QSize(900, 700), {1.25, 1.25}));
}

TEST_F(TableFrameTest, PositionsScaleAndPicturesDoNot)
{
    load(10);
    TableState table = scenes::midHand(10);
    table.historyPending = 0;
    const ScreenScale two{2.0, 2.0};
    const QSize client(1596, 1088);
    frame.render(table, sound, client, two);
    const QImage image = draw(table, two, client);
    const QPoint button = point(SeatGroup::DealerButton, 10, 2) * 2 + QPoint(12, 12);
    EXPECT_EQ(image.pixel(button), picturePixel("images/dealerButton.png", {12, 12}));
}

TEST_F(TableFrameTest, AMissingBackgroundIsNamedAndTheTableIsStillDrawn)
{
    TableState table = scenes::midHand(10);
    QDir::setCurrent(QDir::tempPath());
    frame.load(boxes, nullptr, 10);
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown[0].text, "ERROR LOADING POKERCOVER.JPG");
    EXPECT_TRUE(frame.render(table, sound, kClient, {}));
    EXPECT_EQ(frame.image().pixel(5, 300), qRgb(0, 0, 0));
}

// A frame is drawn again only where what it paints changed; frame by frame
// it must come out as the whole picture drawn afresh, at every zoom and
// scale, through moves, text changes and a blinking marker.
TEST_F(TableFrameTest, AFrameRedrawsOnlyWhatChangedAndComesOutWhole)
{
    struct View {
        double zoom;
        ScreenScale scale;
    };
    for (const View view : {View{1.0, {}}, View{2.5, {}}, View{0.6, {}}, View{1.0, {2.0, 2.0}}}) {
        SCOPED_TRACE(testing::Message() << "zoom " << view.zoom << " scale " << view.scale.x);
        TableFrame drawn;
        TableFrame whole;
        drawn.load(boxes, nullptr, 10);
        TableState table = scenes::dealing(10);
        table.dealerSeat = 2;
        const QSize client = (QSizeF(kClient.width() * view.scale.x, kClient.height() * view.scale.y) * view.zoom)
                                 .toSize();
        for (int frameNo = 0; frameNo < 12; ++frameNo) {
            SCOPED_TRACE(frameNo);
            if (frameNo == 3)
                table.blinkWord = 0;
            if (frameNo == 5)
                table.stack[6] += 10.0f;
            if (frameNo == 7)
                table.playerName[8] = "Wilhelmina";
            if (frameNo == 9)
                table.setInFront(0, 12.5f);
            TableState copy = table;
            ASSERT_TRUE(drawn.render(table, sound, client, view.scale, view.zoom));
            // The same frame from a fresh set of buffers, with the same motion.
            whole.load(boxes, nullptr, 10);
            ASSERT_TRUE(whole.render(copy, sound, client, view.scale, view.zoom));
            const QImage a = drawn.image();
            const QImage b = whole.image();
            ASSERT_EQ(a.size(), client);
            // A picture smoothed into a clipped area may come out one level
            // off at the clip's edge; anything more is a stale or missing part.
            const auto apart = [](QRgb p, QRgb q) {
                return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q))}) > 2;
            };
            int differing = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    differing += apart(a.pixel(x, y), b.pixel(x, y));
            EXPECT_EQ(differing, 0);
            if (frameNo > 0) {
                const QRect bounds = drawn.changed().boundingRect();
                EXPECT_LT(bounds.width() * bounds.height(), client.width() * client.height() / 2);
            }
        }
    }
}

// Screenshots for a person to look at: TESSALY_SHOTS_DIR=/tmp.
TEST_F(TableFrameTest, Screenshots)
{
    const QString dir = QString::fromLocal8Bit(qgetenv("TESSALY_SHOTS_DIR"));
    if (dir.isEmpty())
        GTEST_SKIP() << "TESSALY_SHOTS_DIR not set";
    const std::pair<const char*, TableState> shots[] = {
        {"draw-watch-10.png", scenes::midHand(10)},
        {"draw-watch-6.png", scenes::midHand(6)},
        {"draw-showdown-10.png", scenes::showdown(10)},
        {"draw-showdown-6.png", scenes::showdown(6)},
        {"draw-deal-10.png", scenes::dealing(10)},
    };
    for (auto [name, table] : shots) {
        TableFrame shot;
        shot.load(boxes, nullptr, table.seatCount);
        // The button was last at seat 0; the dealer's seat 2 is on its way.
        const int dealer = std::exchange(table.dealerSeat, 0);
        shot.render(table, sound, kClient, {});
        table.dealerSeat = dealer;
        for (int frameNo = 0; frameNo < 3; ++frameNo)
            shot.render(table, sound, kClient, {});
        EXPECT_TRUE(shot.image().save(dir + "/" + name)) << name;
    }
}

} // namespace
} // namespace tessaly
