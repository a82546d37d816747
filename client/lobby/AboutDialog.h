#pragma once
// The about box (resource 100), opened modally from the lobby: the room's
// picture in the upper part, two notices, the client version and the server
// time of the last table list.

#include <QImage>
#include <QWidget>

#include "platform/gui/DialogWindow.h"

namespace tessaly {

struct ClientState;

// The picture of the about box: bitmap 208 drawn into a 454 x 290 frame. It is the place
// of the water surface that ripples under the pointer; until that surface
// exists the picture stands still.
class AboutPicture : public QWidget {
    Q_OBJECT
public:
    // Where the picture sits in the about box's client area, in pixels.
    static constexpr int kLeft = 10;
    static constexpr int kTop = 20;
    static constexpr int kWidth = 454;
    static constexpr int kHeight = 290;

    explicit AboutPicture(QWidget* parent = nullptr);

    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
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
