// The image object, the card set and the chip rack, on files made in a
// temporary install directory.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "client/ui/CardImages.h"
#include "client/ui/ChipRack.h"
#include "client/ui/Picture.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace tessaly {
namespace {

constexpr QRgb kKey = 0xFF00FF;

// Runs the test inside a fresh install directory, as the client does.
class InstallDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        QDir().mkpath(QStringLiteral("cards"));
        QDir().mkpath(QStringLiteral("chips"));
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    static void write(const QString& path, const QColor& colour, QSize size, const char* format = "PNG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path, format)) << path.toStdString();
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

using PictureTest = InstallDir;

TEST_F(PictureTest, LoadsEveryFormatAndReportsFailures)
{
    write(QStringLiteral("a.bmp"), Qt::red, {7, 5}, "BMP");
    write(QStringLiteral("a.png"), Qt::red, {7, 5}, "PNG");
    write(QStringLiteral("a.jpg"), Qt::red, {7, 5}, "JPEG");
    const QString gif = QDir(qEnvironmentVariable("TESSALY_DIST_DIR")).filePath(QStringLiteral("chips/d5.gif"));
    QFile::copy(gif, QStringLiteral("a.gif"));
    QFile text(QStringLiteral("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();

    Picture picture;
    for (const char* file : {"a.bmp", "a.png", "a.jpg"}) {
        EXPECT_EQ(picture.load(file), Picture::kLoaded) << file;
        EXPECT_EQ(picture.width(), 7);
        EXPECT_EQ(picture.height(), 5);
    }
    EXPECT_EQ(picture.load("a.gif"), Picture::kLoaded);
    EXPECT_EQ(picture.width(), 24);
    EXPECT_EQ(picture.load("missing.png"), Picture::kMissing);
    EXPECT_TRUE(picture.isNull());
    EXPECT_EQ(picture.load("cards"), Picture::kMissing);
    EXPECT_EQ(picture.load("notes.png"), Picture::kNotAPicture);
}

TEST(Picture, ColourKeyedDrawingLeavesTheBackgroundWhereTheKeyWas)
{
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(Qt::blue);
    source.setPixel(0, 0, kKey | 0xFF000000);
    source.setPixel(3, 3, kKey | 0xFF000000);
    Picture picture;
    picture.setImage(source);

    QImage target(16, 16, QImage::Format_RGB32);
    target.fill(Qt::green);
    QPainter painter(&target);
    picture.drawKeyed(painter, 2, 2, kKey);
    // Stretched to four times the size: no magenta creeps in at the edges.
    picture.drawKeyed(painter, QRect(8, 0, 8, 8), QRect(0, 0, 4, 4), kKey);
    painter.end();
    EXPECT_EQ(target.pixelColor(2, 2), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(3, 2), QColor(Qt::blue));
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x) {
            const QColor c = target.pixelColor(x, y);
            EXPECT_FALSE(c.red() > 40 && c.blue() > 40) << x << "," << y;
        }
    // The transparent copy is made once per key, not per blit.
    EXPECT_EQ(picture.keyed(kKey).cacheKey(), picture.keyed(kKey).cacheKey());
}

TEST(Picture, ConstantAlphaBlendsOverTheTarget)
{
    QImage white(4, 4, QImage::Format_RGB32);
    white.fill(Qt::white);
    Picture picture;
    picture.setImage(white);
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter painter(&target);
    picture.drawBlended(painter, 0, 0, 125);
    painter.end();
    EXPECT_NEAR(target.pixelColor(1, 1).red(), 125, 2);
}

using CardImagesTest = InstallDir;

TEST_F(CardImagesTest, StopsAtTheFirstMissingCardWithOneMessageAndNeverRetries)
{
    for (int code = 0; code <= kCardBack; ++code)
        if (code != 13)
            write(QString::fromStdString(cardFileName(code)), Qt::white, {57, 77}, "BMP");
    CardImages cards;
    ScriptedMessageBoxes boxes;
    cards.load(boxes);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Failed to load card image");
    EXPECT_EQ(boxes.shown[0].caption, "cards/5h.bmp");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Stop);
    EXPECT_EQ(boxes.shown[0].owner, nullptr);
    EXPECT_FALSE(cards.card(12).isNull());
    EXPECT_EQ(cards.card(12).width(), 57);
    for (int code : {13, 14, 51, kCardBack})
        EXPECT_TRUE(cards.card(code).isNull()) << code;
    EXPECT_TRUE(cards.card(kNoCard).isNull());

    write(QStringLiteral("cards/5h.bmp"), Qt::white, {57, 77}, "BMP");
    cards.load(boxes);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(cards.card(13).isNull());
}

using ChipRackTest = InstallDir;

TEST_F(ChipRackTest, EveryMissingChipIsReportedAndLoadingGoesOn)
{
    for (int i = 0; i < kChipKinds; ++i)
        if (i != 0 && i != 4 && i != 13)
            write(QString::fromStdString(chipFileName(i)), Qt::gray, {24, 19});
    ChipRack rack;
    ScriptedMessageBoxes boxes;
    rack.load(boxes);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>(3, "error on load")));
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly");
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(rack.picture(4).isNull());
    EXPECT_FALSE(rack.picture(5).isNull());
    EXPECT_TRUE(rack.picture(14).isNull());

    // Without the largest chip's picture the others keep their own size;
    // a chip without a picture draws nothing.
    QImage target(40, 40, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter painter(&target);
    rack.drawChip(painter, 0, 30, 5);
    rack.drawChip(painter, 30, 30, 4);
    painter.end();
    EXPECT_EQ(target.pixelColor(23, 11), QColor(Qt::gray));
    EXPECT_EQ(target.pixelColor(23, 10), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(32, 20), QColor(Qt::black));
}

TEST_F(ChipRackTest, StacksStandInColumnsOfFiveAtTheLargestChipsSize)
{
    // Every chip 10 x 6 in a colour of its own; the big chip sets the size.
    for (int i = 0; i < kChipKinds; ++i)
        write(QString::fromStdString(chipFileName(i)), QColor::fromHsv(i * 25, 255, 200), i == 0 ? QSize(10, 6) : QSize(4, 4));
    ChipRack rack;
    ScriptedMessageBoxes boxes;
    rack.load(boxes);
    ASSERT_TRUE(boxes.shown.empty());
    auto colourOf = [](int index) { return QColor(QColor::fromHsv(index * 25, 255, 200).rgb()); };

    QImage target(120, 60, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter painter(&target);
    DrawChipStack(painter, rack, 10, 40, 150.0f);       // 100, 25, 25 in one column
    DrawChipStack(painter, rack, 60, 40, 1234.56f);     // three columns
    DrawChipStack(painter, rack, 60, 10, 0.0089f);      // nothing
    painter.end();
    EXPECT_EQ(target.pixelColor(12, 39), colourOf(5));
    EXPECT_EQ(target.pixelColor(19, 34), colourOf(5));
    EXPECT_EQ(target.pixelColor(12, 33), colourOf(6));
    EXPECT_EQ(target.pixelColor(12, 22), colourOf(6));
    EXPECT_EQ(target.pixelColor(12, 21), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(20, 36), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(61, 39), colourOf(3));    // the 1000 at the bottom of column 0
    EXPECT_EQ(target.pixelColor(85, 39), colourOf(8));    // column 1 starts 24 pixels on: a 1
    EXPECT_EQ(target.pixelColor(109, 39), colourOf(12));  // column 2: the 0.05 ...
    EXPECT_EQ(target.pixelColor(109, 33), colourOf(13));  // ... under the 0.01
    EXPECT_EQ(target.pixelColor(109, 27), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(61, 9), QColor(Qt::black));
}

} // namespace
} // namespace tessaly
