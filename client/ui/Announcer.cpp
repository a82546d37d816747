#include "client/ui/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QtGlobal>

namespace tessaly {
namespace {

QAccessibleInterface* notificationFactory(const QString&, QObject* object)
{
    if (object->isWidgetType() && object->objectName() == QLatin1String(Announcer::kSlotName) &&
        qobject_cast<Announcer*>(object->parent()) != nullptr)
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
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
    for (QWidget*& slot : slots_) {
        slot = new QWidget(this);
        slot->setObjectName(QLatin1String(kSlotName));
        slot->setFocusPolicy(Qt::NoFocus);
        slot->setGeometry(0, 0, 1, 1);
        slot->hide();
    }
}

void Announcer::announce(const QString& text)
{
    last_ = text;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, text);
    QAccessible::updateAccessibility(&event);
#else
    QWidget* slot = slots_[static_cast<std::size_t>(count_ % kSlots)];
    slot->hide();
    slot->setAccessibleName(text);
    slot->show();
#endif
    ++count_;
}

} // namespace tessaly
