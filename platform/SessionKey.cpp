#include "platform/SessionKey.h"

#include <QCoreApplication>

namespace SessionKey {

QString sessions()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\Sessions").arg(QCoreApplication::applicationName());
}

QString of(const QString& sessionId)
{
    return sessions() + QLatin1Char('\\') + sessionId;
}

} // namespace SessionKey
