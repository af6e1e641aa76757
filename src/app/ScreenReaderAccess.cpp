#include "ScreenReaderAccess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>

namespace {

const char EngineSwitch[] = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";

bool statusProperty(QDBusInterface &properties, const QString &name)
{
    const QDBusReply<QDBusVariant> reply
        = properties.call(QStringLiteral("Get"), QStringLiteral("org.a11y.Status"), name);
    return reply.isValid() && reply.value().variant().toBool();
}

} // namespace

namespace ScreenReaderAccess {

DesktopState readDesktop()
{
    DesktopState desktop;
    desktop.alwaysOn = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected() || !session.interface())
        return desktop;
    const QString bus = QStringLiteral("org.a11y.Bus");
    desktop.busFound = session.interface()->isServiceRegistered(bus).value();
    if (!desktop.busFound)
        return desktop;
    QDBusInterface properties(bus, QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), session);
    desktop.isEnabled = statusProperty(properties, QStringLiteral("IsEnabled"));
    desktop.screenReaderEnabled = statusProperty(properties, QStringLiteral("ScreenReaderEnabled"));
    return desktop;
}

bool wantsAccessibility(const DesktopState &desktop)
{
    return desktop.alwaysOn || desktop.isEnabled || desktop.screenReaderEnabled;
}

bool prepareEngine()
{
    // A user who set the switch by hand, either way, keeps it.
    if (qEnvironmentVariableIsSet(EngineSwitch))
        return true;
    if (!wantsAccessibility(readDesktop()))
        return false;
    qputenv(EngineSwitch, "1");
    return true;
}

} // namespace ScreenReaderAccess
