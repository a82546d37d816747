#pragma once
// What the lobby draws itself: the room's background picture with the two
// text lines over it, through a back buffer.
//
// The background is stretched once into a cache, kept for the window's
// life; the back buffer is the cache with the two lines. Each frame tick
// rewrites only the band of the lines, and only when their text changed,
// so an idle lobby costs next to nothing.

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <string>

#include "platform/gui/DialogUnits.h"

class QPainter;

namespace tessaly {

class Picture;

// Whole screen factors: logical dots per inch divided by 96, remainder
// dropped, as the lobby scales its picture (1 at 96 and 120 dpi). Never
// below 1, which would draw no picture at all.
int wholeScreenFactor(double fraction);

class LobbyBackdrop {
public:
    static constexpr int kPictureWidth = 798;   // times the whole factor
    static constexpr int kTextX = 16;            // times the fractional scale
    static constexpr int kWelcomeY = 110;
    static constexpr int kStatusY = 135;
    static constexpr int kTextPixels = 16;

    LobbyBackdrop();

    // The screen scale as the lobby measured it at start-up.
    void setScale(ScreenScale fraction);

    // Brings the back buffer up to date for the client size and the status
    // line. Returns the part of the client area that changed (empty when
    // nothing did): everything when a buffer was made, else the text band.
    QRect compose(QSize clientSize, const Picture& background, const std::string& statusLine);

    // Copies the part of the back buffer to the painter at `origin`.
    void draw(QPainter& painter, QPoint origin, const QRect& part) const;
    bool ready() const { return !backBuffer_.isNull(); }

    // The band the two lines are drawn in, client coordinates.
    QRect textBand() const;
    QSize backBufferSize() const { return backBuffer_.size(); }
    QSize backgroundSize() const { return background_.size(); }

    // The pictures go; the next compose makes them again.
    void release();

private:
    void drawLines(const std::string& statusLine);

    ScreenScale fraction_{};
    int wholeX_ = 1;
    int wholeY_ = 1;
    QFont font_;
    QPixmap background_;
    QPixmap backBuffer_;
    std::string drawnStatus_;
};

} // namespace tessaly
