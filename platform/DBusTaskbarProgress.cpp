#include "platform/DBusTaskbarProgress.h"

#include "platform/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>

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
