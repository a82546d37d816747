#pragma once
// The one-line banner on which text items, most of them web links, scroll
// from right to left every 20 ms. Pointing at an item stops the banner (a
// link lights up); leaving it lets it go on where it stopped; clicking a
// link opens its address. While its window is minimised or hidden nobody
// sees it, so it stands still and goes on from there when shown again.

#include <QBasicTimer>
#include <QFont>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include <QStaticText>
#include <QWidget>

#include "client/ui/TickerTrack.h"

namespace tessaly {

class LinkTicker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kScrollPeriodMs = 20;
    static constexpr QRgb kBackground = 0xFF0000;
    static constexpr QRgb kLinkText = 0xFBFBFB;
    static constexpr QRgb kPlainText = 0x000000;
    static constexpr QRgb kHoveredLinkText = 0xFFD8A9;

    using Opener = std::function<void(const QString& address)>;

    explicit LinkTicker(QWidget* parent = nullptr);

    // An item with an empty address is plain text. Returns whether it was added.
    bool addItem(const std::string& address, const std::string& text);
    // False when there are no items. Otherwise restarts the scrolling; with
    // `reset`, from item 0 at the left edge, after measuring every item.
    bool start(bool reset);
    // Opens a clicked link; the default asks the desktop to open the address.
    void setOpener(Opener opener);

    bool isScrolling() const { return timer_.isActive(); }
    int hoveredItem() const { return hoveredItem_; }
    const TickerTrack& track() const { return track_; }

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Item {
        QString address;
        QString text;
        // Laid out once: the banner is painted again at every step.
        QStaticText line;
    };

    void updateFonts();
    void measure();
    void pointAt(const QPoint& position);
    void stopHover();
    // Scrolls on when started, shown and not pointed at.
    void resume();

    std::vector<Item> items_;
    TickerTrack track_;
    QBasicTimer timer_;
    QFont bold_;
    QFont underlined_;
    Opener opener_;
    int hoveredItem_ = -1;
    bool started_ = false;
    // A minimised window's widgets get a hide event yet stay isVisible().
    bool hidden_ = false;
};

} // namespace tessaly
