// The pictures and sounds the build lays out in the install directory: every
// file the windows name is there, loads, and has the size and the colour
// keys that the drawing code relies on.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QtEndian>

#include "client/ui/CardNames.h"
#include "client/ui/ChipStack.h"
#include "client/ui/Picture.h"
#include "platform/gui/Desktop.h"

namespace tessaly {
namespace {

QString dist(const QString& path)
{
    return QDir(qEnvironmentVariable("TESSALY_DIST_DIR")).filePath(path);
}

QImage read(const QString& path)
{
    QImageReader reader(dist(path));
    reader.setDecideFormatFromContent(true);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

bool isKey(const QImage& image, int x, int y, QRgb key)
{
    return (image.pixel(x, y) & RGB_MASK) == key;
}

TEST(InstallAssets, CardsAreFiftySevenBySeventySevenWithTheKeyOutsideTheCorners)
{
    for (int code = 0; code <= kCardBack; ++code) {
        const QString name = QString::fromStdString(cardFileName(code));
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QFile::exists(dist(name)));
        const QImage card = read(name);
        ASSERT_EQ(card.size(), QSize(57, 77));
        EXPECT_TRUE(isKey(card, 0, 0, 0xF3F316));
        EXPECT_TRUE(isKey(card, 56, 76, 0xF3F316));
        EXPECT_FALSE(isKey(card, 28, 38, 0xF3F316));
        EXPECT_FALSE(isKey(card, 0, 38, 0xF3F316));
    }
}

TEST(InstallAssets, ChipsAreGifsOfOneSizeWithMagentaAroundThemAndDistinctColours)
{
    QSet<QRgb> faces;
    for (int i = 0; i < kChipKinds; ++i) {
        const QString name = QString::fromStdString(chipFileName(i));
        SCOPED_TRACE(name.toStdString());
        QFile file(dist(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(6).startsWith("GIF8"));
        const QImage chip = read(name);
        EXPECT_EQ(chip.size(), QSize(24, 19));
        EXPECT_TRUE(isKey(chip, 0, 0, 0xFF00FF));
        EXPECT_TRUE(isKey(chip, 23, 18, 0xFF00FF));
        EXPECT_FALSE(isKey(chip, 12, 9, 0xFF00FF));
        faces.insert(chip.pixel(2, 14) & RGB_MASK);   // the edge, as a stack shows it
    }
    EXPECT_EQ(faces.size(), kChipKinds);
}

TEST(InstallAssets, EveryNamedPictureLoads)
{
    QStringList pictures = {"images/LobbyBg.jpg", "images/PokerCover.jpg", "images/sixseattablePlayMoney.jpg",
                            "images/dealerButton.png", "images/congratsbanner.png", "images/sitout.png",
                            "images/userInfoBox.bmp", "images/actionInfoBox.bmp", "images/smallcard1.bmp",
                            "images/toplayerButton.bmp"};
    for (int i = 0; i < 10; ++i)
        pictures << QStringLiteral("images//tobutton%1.png").arg(i);
    for (int i = 0; i < 6; ++i)
        pictures << QStringLiteral("images//6S_tobutton%1.png").arg(i);
    for (const char* chat : {"smile", "wink", "think", "neutral", "think2", "grin", "sad", "shock", "tongue",
                             "crossedlips", "cry", "cool", "angel", "suit_h", "suit_s", "suit_d", "suit_c", "card",
                             "chip", "n", "y"})
        pictures << QStringLiteral("images/chat_%1.bmp").arg(chat);
    ASSERT_EQ(pictures.size(), 47);
    for (const QString& name : pictures) {
        Picture picture;
        EXPECT_EQ(picture.load(dist(name).toStdString()), Picture::kLoaded) << name.toStdString();
    }
    EXPECT_EQ(read("images/PokerCover.jpg").size(), QSize(798, 544));
    EXPECT_EQ(read("images/sixseattablePlayMoney.jpg").size(), QSize(798, 544));
    EXPECT_EQ(read("images/LobbyBg.jpg").width(), 798);
    EXPECT_EQ(read("images/userInfoBox.bmp").size(), QSize(85, 40));
    // Drawn over the felt with the magenta key: the corners are transparent.
    const QImage dealer = read("images/dealerButton.png");
    EXPECT_EQ(qAlpha(dealer.pixel(0, 0)), 0);
    EXPECT_TRUE(isKey(dealer, 0, 0, 0xFF00FF));
}

TEST(InstallAssets, SoundsAreShortPcmWavesWithTheirExactNames)
{
    const char* sounds[] = {"wakeup1.wav", "yourturn.wav", "yourturnBLIND.wav", "calling.wav", "Folding.wav",
                            "chipsbetting.wav", "CHECK.wav", "joinseat.wav", "commcardout.wav", "card_sliding2.wav"};
    EXPECT_EQ(QDir(dist("sounds")).entryList(QDir::Files).size(), 10);
    for (const char* name : sounds) {
        SCOPED_TRACE(name);
        QFile file(dist(QStringLiteral("sounds/") + QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray wave = file.readAll();
        ASSERT_GT(wave.size(), 44);
        EXPECT_EQ(wave.left(4), QByteArray("RIFF"));
        EXPECT_EQ(wave.mid(8, 8), QByteArray("WAVEfmt "));
        EXPECT_EQ(qFromLittleEndian<quint16>(wave.constData() + 20), 1);   // PCM
        const quint32 rate = qFromLittleEndian<quint32>(wave.constData() + 24);
        const quint32 bytes = qFromLittleEndian<quint32>(wave.constData() + 40);
        EXPECT_EQ(bytes + 44, quint32(wave.size()));
        const double seconds = double(bytes) / (rate * 2);
        EXPECT_GT(seconds, 0.1);
        EXPECT_LT(seconds, 1.0);
        // Never full scale, and not silent.
        qint16 peak = 0;
        for (int at = 44; at + 1 < wave.size(); at += 2)
            peak = std::max<qint16>(peak, qint16(std::abs(qFromLittleEndian<qint16>(wave.constData() + at))));
        EXPECT_GT(peak, 8000);
        EXPECT_LT(peak, 30000);
    }
}

TEST(InstallAssets, ButtonFacesMatchTheLobbyButtonSizes)
{
    const struct {
        int first, second, width;
    } faces[] = {{186, 176, 72}, {187, 173, 77}, {190, 177, 113}, {189, 174, 75},
                 {191, 184, 75}, {195, 193, 71}, {197, 196, 77}};
    for (const auto& f : faces) {
        const QImage first = bitmapImage(f.first);
        const QImage second = bitmapImage(f.second);
        EXPECT_EQ(first.size(), QSize(f.width, 23)) << f.first;
        EXPECT_EQ(second.size(), first.size()) << f.second;
        EXPECT_TRUE(isKey(first.convertToFormat(QImage::Format_ARGB32), 0, 0, 0xFF00F0)) << f.first;
        EXPECT_TRUE(isKey(second.convertToFormat(QImage::Format_ARGB32), 0, 0, 0x000000)) << f.second;
    }
    for (int id : {163, 1002, 201, 202, 203, 204, 180, 181, 182, 183})
        EXPECT_FALSE(bitmapImage(id).isNull()) << id;
}

TEST(InstallAssets, TheActionFaceFillsTheTableWindowsActionButtons)
{
    const QImage face = bitmapImage(163).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(face.size(), unitsToPixels({0, 0, 61, 18}).size());
    EXPECT_TRUE(isKey(face, 0, 0, 0xFF00F0));
    EXPECT_FALSE(isKey(face, face.width() / 2, face.height() / 2, 0xFF00F0));
}

} // namespace
} // namespace tessaly
