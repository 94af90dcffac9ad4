#include "app/StartupEnvironment.h"

#include <QSysInfo>

namespace StartupEnvironment {

void chooseQtPlatform()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

QString machineId()
{
    return QString::fromLatin1(QSysInfo::machineUniqueId());
}

} // namespace StartupEnvironment
