#include "client/table/InputWatch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace tessaly {

InputWatch::InputWatch(Clock clock, QObject* parent) : QObject(parent), clock_(std::move(clock))
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

std::optional<SteadyTime> InputWatch::lastInputOutside(const QWidget* window) const
{
    if (window != nullptr && lastWindow_ != nullptr && lastWindow_ == window->windowHandle())
        return std::nullopt;
    return last_;
}

bool InputWatch::buttonHeld() const
{
    return QGuiApplication::mouseButtons() != Qt::NoButton;
}

bool InputWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the application passes here. A key or a button reaches
    // its top-level window's QWindow first and once, whichever widget then
    // takes it.
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (auto* window = qobject_cast<QWindow*>(watched)) {
            last_ = clock_();
            lastWindow_ = window;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
