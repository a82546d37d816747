#pragma once
// Speaks a text through the screen reader without moving the focus. Screen
// readers speak an object of the notification role when it becomes
// showing, reading its name only when they get to the event; so each
// announcement names the next of a few 1-pixel objects and shows it again,
// and texts said in one burst (an event and the prompt it brings) each keep
// an object of their own until the screen reader has read them. From Qt 6.8
// on, an announcement event says the text directly.

#include <QString>
#include <QWidget>
#include <array>

namespace tessaly {

class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
    const QString& last() const { return last_; }
    int count() const { return count_; }

    // The objects a screen reader is shown, in turn.
    static constexpr int kSlots = 8;
    static constexpr const char* kSlotName = "announcement";

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    std::array<QWidget*, kSlots> slots_{};
    QString last_;
    int count_ = 0;
};

} // namespace tessaly
