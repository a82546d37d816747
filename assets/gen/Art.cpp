#include "assets/gen/Art.h"

#include <QLinearGradient>
#include <cmath>

namespace tessaly::assets {

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

namespace {

QFont family(const char* name, int pixels, int weight)
{
    QFont font(QString::fromLatin1(name));
    font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

QFont sans(int pixels, int weight) { return family("Liberation Sans", pixels, weight); }
QFont wide(int pixels, int weight) { return family("DejaVu Sans", pixels, weight); }
QFont condensed(int pixels, int weight) { return family("DejaVu Sans Condensed", pixels, weight); }

QPainterPath suitPath(int suit, const QRectF& b)
{
    auto p = [&b](double x, double y) { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); };
    auto circle = [&b, &p](double x, double y, double r) {
        QPainterPath c;
        c.addEllipse(p(x, y), r * b.width(), r * b.height());
        return c;
    };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    switch (suit) {
    case 0: // diamond, with gently curved sides
        path.moveTo(p(0.5, 0.0));
        path.quadTo(p(0.66, 0.28), p(0.9, 0.5));
        path.quadTo(p(0.66, 0.72), p(0.5, 1.0));
        path.quadTo(p(0.34, 0.72), p(0.1, 0.5));
        path.quadTo(p(0.34, 0.28), p(0.5, 0.0));
        break;
    case 1: { // heart
        path.moveTo(p(0.5, 1.0));
        path.cubicTo(p(0.38, 0.84), p(0.02, 0.62), p(0.02, 0.33));
        path.cubicTo(p(0.02, 0.12), p(0.17, 0.02), p(0.29, 0.02));
        path.cubicTo(p(0.4, 0.02), p(0.47, 0.1), p(0.5, 0.2));
        path.cubicTo(p(0.53, 0.1), p(0.6, 0.02), p(0.71, 0.02));
        path.cubicTo(p(0.83, 0.02), p(0.98, 0.12), p(0.98, 0.33));
        path.cubicTo(p(0.98, 0.62), p(0.62, 0.84), p(0.5, 1.0));
        break;
    }
    case 2: { // club
        path = circle(0.5, 0.27, 0.22).united(circle(0.26, 0.56, 0.22)).united(circle(0.74, 0.56, 0.22));
        QPainterPath middle;
        middle.addEllipse(p(0.5, 0.5), 0.14 * b.width(), 0.14 * b.height());
        QPainterPath stem;
        stem.moveTo(p(0.5, 0.5));
        stem.quadTo(p(0.52, 0.85), p(0.72, 1.0));
        stem.lineTo(p(0.28, 1.0));
        stem.quadTo(p(0.48, 0.85), p(0.5, 0.5));
        path = path.united(middle).united(stem);
        break;
    }
    default: { // spade
        QPainterPath blade;
        blade.moveTo(p(0.5, 0.0));
        blade.cubicTo(p(0.62, 0.18), p(0.98, 0.36), p(0.98, 0.6));
        blade.cubicTo(p(0.98, 0.78), p(0.84, 0.86), p(0.72, 0.86));
        blade.cubicTo(p(0.62, 0.86), p(0.54, 0.8), p(0.5, 0.72));
        blade.cubicTo(p(0.46, 0.8), p(0.38, 0.86), p(0.28, 0.86));
        blade.cubicTo(p(0.16, 0.86), p(0.02, 0.78), p(0.02, 0.6));
        blade.cubicTo(p(0.02, 0.36), p(0.38, 0.18), p(0.5, 0.0));
        QPainterPath stem;
        stem.moveTo(p(0.5, 0.62));
        stem.quadTo(p(0.52, 0.88), p(0.72, 1.0));
        stem.lineTo(p(0.28, 1.0));
        stem.quadTo(p(0.48, 0.88), p(0.5, 0.62));
        path = blade.united(stem);
        break;
    }
    }
    return path;
}

QColor suitColour(int suit)
{
    switch (suit) {
    case 0: return colour::kDiamonds;
    case 1: return colour::kHearts;
    case 2: return colour::kClubs;
    default: return colour::kSpades;
    }
}

void drawFitted(QPainter& painter, const QRectF& box, const QString& text, const QFont& font, const QColor& colour)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    const double squeeze = width > box.width() ? box.width() / width : 1.0;
    painter.translate(box.center());
    painter.scale(squeeze, 1.0);
    const QRectF local(-box.width() / (2 * squeeze), -box.height() / 2, box.width() / squeeze, box.height());
    painter.drawText(local, Qt::AlignCenter, text);
    painter.restore();
}

void drawShadowed(QPainter& painter, const QRectF& box, int flags, const QString& text, const QFont& font,
                  const QColor& colour)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(box.translated(1, 1), flags, text);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
    painter.restore();
}

void panel(QPainter& painter, const QRectF& box, qreal radius, const QColor& top, const QColor& bottom,
           const QColor& border)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(QPen(border, 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(box, radius, radius);
}

std::uint32_t Random::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Random::uniform()
{
    return (next() >> 8) / 16777216.0;
}

} // namespace tessaly::assets
