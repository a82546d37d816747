#include "client/ui/LinkTicker.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include "platform/gui/Desktop.h"

namespace tessaly {

namespace {

// Screen readers are told the banner is a link (a plain widget would be a
// mere pane); its name is what it leads to, set by its owner.
QAccessibleInterface* tickerAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(LinkTicker::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Link);
    return nullptr;
}

} // namespace

LinkTicker::LinkTicker(QWidget* parent) : QWidget(parent)
{
    static const bool accessibleAsLink = (QAccessible::installFactory(tickerAccessible), true);
    (void)accessibleAsLink;
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    opener_ = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
    updateFonts();
}

bool LinkTicker::addItem(const std::string& address, const std::string& text)
{
    const QString shown = displayText(text);
    QStaticText line(shown);
    line.setTextFormat(Qt::PlainText);
    items_.push_back({QString::fromStdString(address), shown, std::move(line)});
    return true;
}

bool LinkTicker::start(bool reset)
{
    if (items_.empty())
        return false;
    timer_.stop();
    if (reset) {
        measure();
        track_.reset();
        update();
    }
    started_ = true;
    resume();
    return true;
}

void LinkTicker::resume()
{
    if (started_ && !hidden_ && hoveredItem_ < 0)
        timer_.start(kScrollPeriodMs, this);
}

void LinkTicker::setOpener(Opener opener)
{
    opener_ = std::move(opener);
}

void LinkTicker::measure()
{
    const QFontMetrics metrics(bold_);
    std::vector<TickerExtent> extents;
    for (const Item& item : items_)
        extents.push_back({metrics.horizontalAdvance(item.text), metrics.height()});
    track_.setExtents(std::move(extents));
}

void LinkTicker::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    // Every item moves one pixel left: the picture is moved along and only
    // the column that comes in at the right is painted.
    track_.step(width());
    scroll(-1, 0);
}

void LinkTicker::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // Mostly only the column a step brings in: items elsewhere are left alone.
    const QRect area = event->rect();
    painter.fillRect(area, QColor(kBackground));
    for (const TickerSlot& slot : track_.visible()) {
        Item& item = items_[static_cast<size_t>(slot.item)];
        const TickerExtent& extent = track_.extents()[static_cast<size_t>(slot.item)];
        if (slot.x > area.right() || slot.x + extent.width <= area.left())
            continue;
        const bool link = !item.address.isEmpty();
        const bool hovered = link && slot.item == hoveredItem_;
        painter.setFont(hovered ? underlined_ : bold_);
        painter.setPen(QColor(hovered ? kHoveredLinkText : link ? kLinkText : kPlainText));
        painter.drawStaticText(slot.x, (height() - extent.height) / 2, item.line);
    }
}

void LinkTicker::pointAt(const QPoint& position)
{
    const int item = track_.itemAt(position.x(), position.y(), width(), height());
    if (item < 0) {
        stopHover();
        return;
    }
    if (item != hoveredItem_) {
        timer_.stop();
        hoveredItem_ = item;
        update();
    }
}

void LinkTicker::stopHover()
{
    if (hoveredItem_ < 0)
        return;
    hoveredItem_ = -1;
    update();
    resume();
}

void LinkTicker::mouseMoveEvent(QMouseEvent* event)
{
    pointAt(event->position().toPoint());
}

void LinkTicker::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || hoveredItem_ < 0)
        return;
    const QString& address = items_[static_cast<size_t>(hoveredItem_)].address;
    if (!address.isEmpty() && opener_)
        opener_(address);
}

void LinkTicker::leaveEvent(QEvent*)
{
    stopHover();
}

void LinkTicker::updateFonts()
{
    bold_ = font();
    bold_.setWeight(QFont::Bold);
    underlined_ = bold_;
    underlined_.setUnderline(true);
}

void LinkTicker::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        updateFonts();
        if (!items_.empty())
            measure();
    }
    QWidget::changeEvent(event);
}

void LinkTicker::showEvent(QShowEvent* event)
{
    hidden_ = false;
    resume();
    QWidget::showEvent(event);
}

void LinkTicker::hideEvent(QHideEvent* event)
{
    hidden_ = true;
    timer_.stop();
    QWidget::hideEvent(event);
}

} // namespace tessaly
