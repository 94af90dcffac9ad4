#include "platform/FontStandIns.h"

#include <QFont>
#include <QFontDatabase>

namespace FontStandIns {

QStringList families()
{
    return {QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"), QStringLiteral("Segoe UI Semibold")};
}

bool install()
{
    const QStringList installed = QFontDatabase().families();
    if (!installed.contains(kStandIn))
        return false;
    for (const QString& family : families()) {
        if (!installed.contains(family))
            QFont::insertSubstitution(family, kStandIn);
    }
    return true;
}

} // namespace FontStandIns
