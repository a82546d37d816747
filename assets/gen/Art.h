#pragma once
// The one look of every generated picture: the colours, fonts and shapes
// that the cards, chips, tables, buttons and banners share.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <cstdint>

namespace tessaly::assets {

class Output;

namespace colour {
inline const QColor kNavy(0x12, 0x20, 0x3A);
inline const QColor kNavyLight(0x27, 0x3F, 0x68);
inline const QColor kNight(0x06, 0x0C, 0x1C);
inline const QColor kGold(0xD4, 0xAF, 0x55);
inline const QColor kGoldLight(0xF5, 0xDC, 0x8E);
inline const QColor kGoldDark(0x8C, 0x6A, 0x22);
inline const QColor kCream(0xF6, 0xE7, 0xBE);
inline const QColor kFelt(0x1E, 0x6E, 0x3C);
inline const QColor kFeltDark(0x12, 0x4A, 0x28);
inline const QColor kFeltLight(0x2F, 0x92, 0x55);
inline const QColor kLeather(0x3A, 0x22, 0x14);
inline const QColor kLeatherLight(0x6B, 0x43, 0x28);
// Suit colours of the four-colour deck.
inline const QColor kSpades(0x1C, 0x1C, 0x1C);
inline const QColor kHearts(0xC8, 0x10, 0x2E);
inline const QColor kClubs(0x13, 0x8A, 0x36);
inline const QColor kDiamonds(0x15, 0x60, 0xBD);
} // namespace colour

inline constexpr QRgb kMagenta = 0xFF00FF;
inline constexpr QRgb kCardKey = 0xF3F316;       // RGB(243, 243, 22)
inline constexpr QRgb kButtonKey = 0xFF00F0;     // RGB(255, 0, 240)
inline constexpr QRgb kSeatButtonKey = 0xFFDEF0; // RGB(255, 222, 240)

// A transparent canvas in premultiplied ARGB.
QImage canvas(int width, int height);
// Antialiased painter with smooth pictures.
void prepare(QPainter& painter);

QFont sans(int pixels, int weight = QFont::Normal);       // Liberation Sans
QFont wide(int pixels, int weight = QFont::Normal);       // DejaVu Sans
QFont condensed(int pixels, int weight = QFont::Bold);    // DejaVu Sans Condensed

// Suit 0 diamonds, 1 hearts, 2 clubs, 3 spades, filling the box.
QPainterPath suitPath(int suit, const QRectF& box);
QColor suitColour(int suit);

// Text centred in the box, shrunk horizontally when it is too wide.
void drawFitted(QPainter& painter, const QRectF& box, const QString& text, const QFont& font, const QColor& colour);
// Text with a soft dark shadow.
void drawShadowed(QPainter& painter, const QRectF& box, int flags, const QString& text, const QFont& font,
                  const QColor& colour);

// A rounded panel with a vertical gradient and a border.
void panel(QPainter& painter, const QRectF& box, qreal radius, const QColor& top, const QColor& bottom,
           const QColor& border);

// Deterministic noise, so the files are the same on every build.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
    std::uint32_t next();
    double uniform();   // [0, 1)
private:
    std::uint32_t state_;
};

// Pictures that several files share.
QImage cardFace(int code);      // 57 x 77, transparent outside the corners
QImage cardBack(int width, int height);
QImage chipPicture(int index);  // 24 x 19, transparent around the chip

// The generators, one per family of files.
void makeCards(Output& out);
void makeChips(Output& out);
void makeRooms(Output& out);
void makeTableItems(Output& out);
void makeChatPictures(Output& out);
void makeBitmapResources(Output& out);
void makeSounds(Output& out);

} // namespace tessaly::assets
