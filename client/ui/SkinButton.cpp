#include "client/ui/SkinButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStringList>
#include <QToolTip>

#include "client/ui/FocusRing.h"
#include "client/ui/Picture.h"
#include "platform/gui/Desktop.h"

namespace tessaly {
namespace {

constexpr int kTipWidth = 400;

// The disabled look: the image in grey, lightened, keeping its transparency.
QImage greyedCopy(const QImage& image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 3;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Breaks every line of the tip that is wider than the tip window may be.
QString wrappedTip(const QString& text, const QFontMetrics& metrics)
{
    QStringList lines;
    for (const QString& line : displayText(text.toStdString()).split(QLatin1Char('\n'))) {
        QString current;
        for (const QString& word : line.split(QLatin1Char(' '))) {
            const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (!current.isEmpty() && metrics.horizontalAdvance(candidate) > kTipWidth) {
                lines << current;
                current = word;
            } else {
                current = candidate;
            }
        }
        lines << current;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

int SkinButton::setBitmaps(int firstId, QRgb firstKey, int secondId, QRgb secondKey)
{
    const QImage first = bitmapImage(firstId);
    const QImage second = secondId != 0 ? bitmapImage(secondId) : QImage();
    if (first.isNull() || (secondId != 0 && second.isNull())) {
        setImages(QImage(), 0, QImage(), 0);
        return 1;
    }
    return setImages(first, firstKey, second, secondKey);
}

int SkinButton::setImages(const QImage& first, QRgb firstKey, const QImage& second, QRgb secondKey)
{
    first_ = first.isNull() ? QImage() : keyedCopy(first, firstKey);
    second_ = second.isNull() ? QImage() : keyedCopy(second, secondKey);
    disabled_ = first_.isNull() ? QImage() : greyedCopy(first_);
    updateGeometry();
    update();
    return first_.isNull() ? 1 : 0;
}

void SkinButton::sizeToContent()
{
    if (!first_.isNull())
        resize(first_.size());
}

void SkinButton::setImageZoom(double zoom)
{
    if (zoom_ != zoom) {
        zoom_ = zoom;
        update();
    }
}

void SkinButton::setTooltipText(const QString& text, bool active)
{
    tip_ = text;
    tipActive_ = active;
}

QSize SkinButton::sizeHint() const
{
    return first_.isNull() ? QSize(40, 20) : first_.size();
}

void SkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown();
    const QPoint offset = pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QImage* image = &first_;
    if (!isEnabled())
        image = &disabled_;
    else if (!second_.isNull() && !pressed && !hover_)
        image = &second_;
    if (!image->isNull() && zoom_ == 1.0) {
        const QPoint at((width() - image->width()) / 2, (height() - image->height()) / 2);
        painter.drawImage(at + offset, *image);
    } else if (!image->isNull()) {
        const QSizeF size = QSizeF(image->size()) * zoom_;
        const QPointF at((width() - size.width()) / 2, (height() - size.height()) / 2);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(at + offset, size), *image);
    }
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(rect().translated(offset), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
    if (hasFocus())
        drawFocusRing(painter, rect());
}

void SkinButton::trackPointer(const QPoint& position)
{
    const bool inside = rect().contains(position);
    if (inside && QApplication::activeWindow() != nullptr)
        setHover(true);
    else if (!inside)
        setHover(false);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event)
{
    // A drag that started elsewhere shows no hover until the button is up.
    if (!(event->buttons() & Qt::LeftButton) || hover_)
        trackPointer(event->position().toPoint());
    QAbstractButton::mouseMoveEvent(event);
}

void SkinButton::enterEvent(QEnterEvent* event)
{
    if (!(QApplication::mouseButtons() & Qt::LeftButton))
        trackPointer(event->position().toPoint());
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event)
{
    setHover(false);
    QAbstractButton::leaveEvent(event);
}

void SkinButton::focusOutEvent(QFocusEvent* event)
{
    setHover(false);
    QAbstractButton::focusOutEvent(event);
}

void SkinButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        setHover(false);
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

bool SkinButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (tipActive_ && !tip_.isEmpty())
            QToolTip::showText(help->globalPos(), wrappedTip(tip_, QFontMetrics(QToolTip::font())), this, rect());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractButton::event(event);
}

void SkinButton::setHover(bool hover)
{
    if (hover_ == hover)
        return;
    hover_ = hover;
    update();
}

} // namespace tessaly
