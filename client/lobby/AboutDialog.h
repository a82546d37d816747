#pragma once
// The about box (resource 100), opened modally from the lobby: the room's
// picture in the upper part, two notices, the client version and the server
// time of the last table list.

#include <QBasicTimer>
#include <QImage>
#include <QWidget>

#include "client/ui/PixelPicture.h"
#include "client/ui/WaterRipple.h"
#include "platform/gui/DialogWindow.h"

namespace tessaly {

struct ClientState;

// The picture of the about box: bitmap 208 in a 454 x 290 frame, seen
// through water. The pointer leaves small ripples where it moves and a click
// drops a large one; the surface advances every 30 ms while the box is open.
class AboutPicture : public QWidget {
    Q_OBJECT
public:
    // Where the picture sits in the about box's client area, in pixels.
    static constexpr int kLeft = 10;
    static constexpr int kTop = 20;
    static constexpr int kWidth = 454;
    static constexpr int kHeight = 290;
    static constexpr int kAnimationPeriodMs = 30;   // the box's timer 1971
    static constexpr int kTrailRadius = 5;
    static constexpr int kTrailDepth = 50;
    static constexpr int kClickRadius = 50;
    static constexpr int kClickDepth = 500;

    explicit AboutPicture(QWidget* parent = nullptr);

    // The frame shown last.
    const QImage& image() const { return frame_.image(); }
    const WaterRipple& water() const { return water_; }
    bool animating() const { return timer_.isActive(); }
    // One tick of the animation: the next frame, drawn at once.
    void animate();

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    PixelPicture source_;
    PixelPicture frame_;
    WaterRipple water_;
    QBasicTimer timer_;
};

class dlgAbout : public DialogWindow {
    Q_OBJECT
public:
    explicit dlgAbout(const ClientState& state, QWidget* parent = nullptr);

    AboutPicture* picture() const { return picture_; }

private:
    AboutPicture* picture_;
};

} // namespace tessaly
