// Chips: 24 x 19 pictures seen from above at an angle, 6 pixels thick, so a
// stack shows the striped edge of every chip and the face of the top one.
// The value is set in a 3 x 5 pixel font: crisp at this size where any
// outline font would blur.

#include <QLinearGradient>
#include <array>
#include <cmath>

#include "assets/gen/Art.h"
#include "assets/gen/Output.h"

namespace tessaly::assets {
namespace {

constexpr int kWidth = 24;
constexpr int kHeight = 19;

struct ChipStyle {
    const char* file;
    const char* label;
    QRgb base;
    QRgb stripe;
};

// Largest first, the order of the chip table.
constexpr std::array<ChipStyle, 14> kStyles{{
    {"chips/d100000.gif", "100K", 0x7A1F2B, 0xE8C15A},
    {"chips/d25000.gif", "25K", 0x178A8A, 0xFFFFFF},
    {"chips/d5000.gif", "5K", 0xD9701A, 0xFFFFFF},
    {"chips/d1000.gif", "1K", 0xE3BC17, 0x2A2A2A},
    {"chips/d500.gif", "500", 0x5E2A86, 0xFFFFFF},
    {"chips/d100.gif", "100", 0x242424, 0xFFFFFF},
    {"chips/d25.gif", "25", 0x1C8039, 0xFFFFFF},
    {"chips/d5.gif", "5", 0xC0262B, 0xFFFFFF},
    {"chips/d1.gif", "1", 0xEDEDE6, 0x1F4FA8},
    {"chips/c50.gif", ".50", 0xE06AA2, 0xFFFFFF},
    {"chips/c25.gif", ".25", 0x3F86D4, 0xFFFFFF},
    {"chips/c10.gif", ".10", 0x85552A, 0xFFFFFF},
    {"chips/c5.gif", ".05", 0x8DBA2F, 0xFFFFFF},
    {"chips/c1.gif", ".01", 0x979797, 0xFFFFFF},
}};

// 3 x 5 glyphs, one row per string, '#' set.
const char* glyph(char c)
{
    switch (c) {
    case '0': return "####.##.##.####";
    case '1': return ".#.##..#..#.###";
    case '2': return "###..#####..###";
    case '3': return "###..####..####";
    case '4': return "#.##.####..#..#";
    case '5': return "####..###..####";
    case '6': return "####..####.####";
    case '7': return "###..#..#..#..#";
    case '8': return "####.#####.####";
    case '9': return "####.####..####";
    case 'K': return "#.###.#..##.#.#";
    case '.': return "............#..";
    default: return "...............";
    }
}

int glyphWidth(char c) { return c == '.' ? 1 : 3; }

void pixelText(QImage& image, const char* text, int centreX, int top, QRgb ink)
{
    int width = -1;
    for (const char* c = text; *c; ++c)
        width += glyphWidth(*c) + 1;
    int x = centreX - width / 2;
    for (const char* c = text; *c; ++c) {
        const char* g = glyph(*c);
        const int w = glyphWidth(*c);
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (g[row * 3 + col] == '#')
                    image.setPixel(x + (w == 1 ? 0 : col), top + row, ink);
        x += w + 1;
    }
}

} // namespace

QImage chipPicture(int index)
{
    const ChipStyle& style = kStyles[static_cast<size_t>(index)];
    const QColor base(style.base);
    const QColor stripe(style.stripe);
    QImage image = canvas(kWidth, kHeight);
    QPainter painter(&image);
    prepare(painter);

    const QRectF top(0.5, 0.5, kWidth - 1, 12);
    const QRectF bottom = top.translated(0, 6);
    // The edge: a cylinder, darker towards its sides.
    QPainterPath edge;
    edge.addRect(QRectF(top.left(), top.center().y(), top.width(), 6));
    edge.addEllipse(bottom);
    edge.setFillRule(Qt::WindingFill);
    QLinearGradient shade(top.left(), 0, top.right(), 0);
    shade.setColorAt(0, base.darker(190));
    shade.setColorAt(0.45, base.darker(115));
    shade.setColorAt(1, base.darker(210));
    painter.setPen(QPen(base.darker(300), 0.8));
    painter.setBrush(shade);
    painter.drawPath(edge.simplified());
    // Edge inserts, seen on every chip of a stack.
    painter.setPen(Qt::NoPen);
    QColor insert = stripe;
    insert.setAlpha(230);
    painter.setBrush(insert);
    for (double angle : {0.35, 1.25, 2.15, 3.05}) {
        const double x = top.center().x() - std::cos(angle) * (top.width() / 2 - 1);
        const double w = 2.6 * std::sin(angle) + 0.6;
        painter.drawRect(QRectF(x - w / 2, top.center().y() + 1.5, w, 4.5 + std::sin(angle) * 1.5));
    }
    // The face: a rim of inserts around a pale inlay.
    QLinearGradient face(top.topLeft(), top.bottomLeft());
    face.setColorAt(0, base.lighter(125));
    face.setColorAt(1, base);
    painter.setPen(QPen(base.darker(250), 0.8));
    painter.setBrush(face);
    painter.drawEllipse(top);
    painter.setPen(QPen(insert, 1.6, Qt::CustomDashLine, Qt::FlatCap));
    QPen dashes = painter.pen();
    dashes.setDashPattern({2.0, 2.2});
    painter.setPen(dashes);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(top.adjusted(1.6, 1.1, -1.6, -1.1));
    painter.setPen(QPen(base.darker(140), 0.6));
    painter.setBrush(QColor(0xF8, 0xF5, 0xEC));
    painter.drawEllipse(QRectF(3.5, 2.5, 17, 8));
    painter.end();

    const QRgb ink = (style.base == 0xEDEDE6 ? QColor(style.stripe) : base.darker(150)).rgb();
    pixelText(image, style.label, 12, 4, ink);
    return image;
}

void makeChips(Output& out)
{
    for (size_t i = 0; i < kStyles.size(); ++i)
        out.gif(kStyles[i].file, keyed(chipPicture(static_cast<int>(i)), kMagenta, colour::kFeltDark.rgb()));
}

} // namespace tessaly::assets
