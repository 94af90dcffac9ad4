#include "platform/DBusTaskbarProgress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>

namespace {

// A session bus is named by the environment or found in the runtime folder; without either
// there is none to talk to.
bool sessionBusExpected()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

} // namespace

DBusTaskbarProgress::DBusTaskbarProgress(QObject* parent)
    : TaskbarProgress(parent)
{
}

QString DBusTaskbarProgress::applicationUri()
{
    return QStringLiteral("application://ty_slideshow.desktop");
}

QVariantMap DBusTaskbarProgress::updateProperties(int minimum, int maximum, int value, bool visible)
{
    const bool shown = visible && maximum > minimum;
    double progress = 0.0;
    if (maximum > minimum)
        progress = qBound(0.0, (double(value) - minimum) / (double(maximum) - minimum), 1.0);
    return {{QStringLiteral("progress"), progress}, {QStringLiteral("progress-visible"), shown}};
}

void DBusTaskbarProgress::publish()
{
    if (!sessionBusExpected())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage update = QDBusMessage::createSignal(QStringLiteral("/ty_slideshow/launcher"),
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    update << applicationUri() << updateProperties(minimum(), maximum(), value(), isVisible());
    bus.send(update);
}
