#pragma once
// A push button drawn from bitmap resources: the second image in the normal
// state, the first while hovered or pressed (or in every state when there is
// no second one), each with its own transparent colour; pressed, the image
// moves 1 pixel right and down; disabled, a greyed copy. Flat: no frame; the
// keyboard focus shows as a ring. A caption, when the button has one, is drawn centred
// over the image (the action buttons carry their labels only as captions).

#include <QAbstractButton>
#include <QImage>

namespace tessaly {

class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Loads both bitmaps from the program's resources (second id 0: none)
    // and makes their transparent copies; non-zero when one cannot be loaded,
    // and then the button keeps no image at all.
    int setBitmaps(int firstId, QRgb firstKey, int secondId, QRgb secondKey);
    // The same from images already in memory; a null second image is none.
    int setImages(const QImage& first, QRgb firstKey, const QImage& second, QRgb secondKey);
    // Resizes the button to the first image, keeping its position.
    void sizeToContent();
    // "\r\n" breaks lines; tips wrap at 400 pixels. Inactive: no tip shows.
    void setTooltipText(const QString& text, bool active = true);

    // The pictures drawn at a zoom of their size, centred as at zoom 1 (a
    // table window the user has made larger or smaller).
    void setImageZoom(double zoom);

    bool isHovering() const { return hover_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void setHover(bool hover);
    void trackPointer(const QPoint& position);

    QImage first_;
    QImage second_;
    QImage disabled_;
    QString tip_;
    bool tipActive_ = false;
    bool hover_ = false;
    double zoom_ = 1.0;
};

} // namespace tessaly
