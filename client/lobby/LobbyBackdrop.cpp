#include "client/lobby/LobbyBackdrop.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "client/lobby/LobbyTexts.h"
#include "client/ui/Picture.h"
#include "platform/gui/Desktop.h"

namespace tessaly {
namespace {

// "16 pixels high" is the height of the font's character cell, accents and
// descenders included, not of its em square.
QFont cellHeightFont(const char* face, int cellPixels, int weight)
{
    QFont font = pixelFont(face, cellPixels, weight);
    for (int em = cellPixels; em > 1 && QFontMetrics(font).height() > cellPixels; --em)
        font.setPixelSize(em - 1);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

int wholeScreenFactor(double fraction)
{
    // Back to dots per inch (the fraction is dpi / 96 exactly), then the
    // integer division.
    const int dpi = static_cast<int>(std::lround(fraction * 96.0));
    return std::max(1, dpi / 96);
}

LobbyBackdrop::LobbyBackdrop() : font_(cellHeightFont("Verdana Bold", kTextPixels, 700)) {}

void LobbyBackdrop::setScale(ScreenScale fraction)
{
    fraction_ = fraction;
    wholeX_ = wholeScreenFactor(fraction.x);
    wholeY_ = wholeScreenFactor(fraction.y);
}

QRect LobbyBackdrop::textBand() const
{
    const int top = static_cast<int>(kWelcomeY * fraction_.y);
    const int bottom = static_cast<int>(kStatusY * fraction_.y) + QFontMetrics(font_).height();
    return QRect(0, top, backBuffer_.width(), bottom - top);
}

QRect LobbyBackdrop::compose(QSize clientSize, const Picture& background, const std::string& statusLine)
{
    bool whole = false;
    if (backBuffer_.size() != clientSize) {
        backBuffer_ = QPixmap(clientSize);
        whole = true;
    }
    if (background_.isNull()) {
        // Made once, at the size of the first draw.
        background_ = QPixmap(clientSize);
        background_.fill(Qt::black);
        QPainter painter(&background_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        background.drawStretched(painter, QRect(0, 0, kPictureWidth * wholeX_, clientSize.height() * wholeY_));
        whole = true;
    }
    if (whole) {
        QPainter painter(&backBuffer_);
        painter.drawPixmap(0, 0, background_);
    } else if (statusLine == drawnStatus_) {
        return {};
    }
    drawLines(statusLine);
    return whole ? QRect(QPoint(0, 0), clientSize) : textBand();
}

void LobbyBackdrop::drawLines(const std::string& statusLine)
{
    const QRect band = textBand();
    QPainter painter(&backBuffer_);
    painter.drawPixmap(band, background_, band);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font_);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font_);
    const int x = static_cast<int>(kTextX * fraction_.x);
    // The lines' positions are their top left corners.
    painter.drawText(x, static_cast<int>(kStatusY * fraction_.y) + metrics.ascent(), QString::fromUtf8(statusLine));
    painter.drawText(x, static_cast<int>(kWelcomeY * fraction_.y) + metrics.ascent(),
                     QString::fromLatin1(kLobbyWelcomeLine));
    drawnStatus_ = statusLine;
}

void LobbyBackdrop::draw(QPainter& painter, QPoint origin, const QRect& part) const
{
    painter.drawPixmap(part.translated(origin), backBuffer_, part);
}

void LobbyBackdrop::release()
{
    background_ = QPixmap();
    backBuffer_ = QPixmap();
    drawnStatus_.clear();
}

} // namespace tessaly
