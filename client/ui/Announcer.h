#pragma once
// Speaks a text through the screen reader without moving the focus. Screen
// readers speak an object of the notification role when it becomes
// showing, so each announcement names this 1-pixel widget and shows it
// again; from Qt 6.8 on, an announcement event says it directly.

#include <QString>
#include <QWidget>

namespace tessaly {

class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
    const QString& last() const { return last_; }
    int count() const { return count_; }

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    QString last_;
    int count_ = 0;
};

} // namespace tessaly
