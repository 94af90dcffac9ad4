#include "app/CSettingsStorage.h"

namespace {
const QString LastScreenKey = QStringLiteral("lastScreen");
const QString LastStyleIdKey = QStringLiteral("lastStyleId");
} // namespace

CSettingsStorage::CSettingsStorage(const QString& fileName, QSettings::Format format, QObject* parent)
    : QSettings(fileName, format, parent)
{
}

int CSettingsStorage::lastScreen() const
{
    return readValue(LastScreenKey, 0);
}

void CSettingsStorage::setLastScreen(const int& val)
{
    if (writeValue(LastScreenKey, val))
        emit lastScreenChanged(val);
}

QString CSettingsStorage::lastStyleId() const
{
    return readValue(LastStyleIdKey, QString());
}

void CSettingsStorage::setLastStyleId(const QString& val)
{
    if (writeValue(LastStyleIdKey, val))
        emit lastStyleIdChanged(val);
}
