#pragma once
// Watches the user's keys and mouse buttons in every window of the client:
// when and in which window the last one was pressed, and whether a button is
// held now. A table whose turn comes asks it whether the user is busy in
// another window before it comes forward.

#include <QObject>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <optional>

#include "client/table/ComingForward.h"

class QWidget;

namespace tessaly {

class InputWatch : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<SteadyTime()>;

    // Watches the whole application from now on (an application-wide event
    // filter). The clock is injected for tests.
    explicit InputWatch(Clock clock, QObject* parent = nullptr);

    // The time of the last press when it was made in another top-level
    // window than `window`; nothing when it was made in `window` or none
    // was made yet.
    std::optional<SteadyTime> lastInputOutside(const QWidget* window) const;
    std::optional<SteadyTime> lastInput() const { return last_; }
    // A mouse button is down now.
    bool buttonHeld() const;
    SteadyTime now() const { return clock_(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Clock clock_;
    std::optional<SteadyTime> last_;
    QPointer<QWindow> lastWindow_;
};

} // namespace tessaly
