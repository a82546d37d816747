#include "platform/gui/ScreenReader.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

namespace tessaly {

bool screenReaderEnabled()
{
    const QString service = QStringLiteral("org.a11y.Bus");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr || !bus.interface()->isServiceRegistered(service))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/org/a11y/bus"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << QStringLiteral("org.a11y.Status") << QStringLiteral("ScreenReaderEnabled");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace tessaly
