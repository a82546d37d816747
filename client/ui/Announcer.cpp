#include "client/ui/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QtGlobal>

namespace tessaly {
namespace {

QAccessibleInterface* notificationFactory(const QString&, QObject* object)
{
    if (auto* announcer = qobject_cast<Announcer*>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::announce(const QString& text)
{
    last_ = text;
    ++count_;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, text);
    QAccessible::updateAccessibility(&event);
#else
    hide();
    setAccessibleName(text);
    show();
#endif
}

} // namespace tessaly
