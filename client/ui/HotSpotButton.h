#pragma once
// An invisible click area over a painted background: a button that draws
// nothing.

#include <QAbstractButton>

namespace tessaly {

class HotSpotButton : public QAbstractButton {
    Q_OBJECT
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace tessaly
