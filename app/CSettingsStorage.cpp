#include "app/CSettingsStorage.h"

#include "app/CApplicaiton.h"

#include <QStandardPaths>

namespace {
const QString FirstRunKey = QStringLiteral("FirstRun");
const QString UpdateCheckerEnabledKey = QStringLiteral("updateCheckerEnabled");
const QString RegisterAsDefaultAppKey = QStringLiteral("registerAsDefaultApp");
const QString UpdateCheckerShowedVersionKey = QStringLiteral("updateCheckerShowedVersion");
const QString ShowFirstStartWizardKey = QStringLiteral("showFirstStartWizard");
const QString LastScreenKey = QStringLiteral("lastScreen");
const QString LastOpenFilePathKey = QStringLiteral("lastOpenFilePath");
const QString LastStyleIdKey = QStringLiteral("lastStyleId");
} // namespace

CSettingsStorage::CSettingsStorage(const QString& fileName, QSettings::Format format, QObject* parent)
    : QSettings(fileName, format, parent)
{
    if (auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance()))
        app->setFirstRun(readValue(FirstRunKey, true));
}

CSettingsStorage::~CSettingsStorage()
{
    setValue(FirstRunKey, false);
}

void CSettingsStorage::load()
{
    const bool updateChecker = readValue(UpdateCheckerEnabledKey, true);
    if (updateChecker != m_updateCheckerEnabled) {
        m_updateCheckerEnabled = updateChecker;
        emit updateCheckerEnabledChanged(updateChecker);
    }
    const bool registerAsDefault = readValue(RegisterAsDefaultAppKey, true);
    if (registerAsDefault != m_registerAsDefaultApp) {
        m_registerAsDefaultApp = registerAsDefault;
        emit registerAsDefaultAppChanged(registerAsDefault);
    }
}

void CSettingsStorage::save()
{
    beginGroup(QString());
    setValue(UpdateCheckerEnabledKey, m_updateCheckerEnabled);
    setValue(RegisterAsDefaultAppKey, m_registerAsDefaultApp);
    endGroup();
}

bool CSettingsStorage::updateCheckerEnabled() const
{
    return m_updateCheckerEnabled;
}

void CSettingsStorage::setUpdateCheckerEnabled(const bool& val)
{
    if (val == m_updateCheckerEnabled)
        return;
    m_updateCheckerEnabled = val;
    emit updateCheckerEnabledChanged(val);
}

bool CSettingsStorage::registerAsDefaultApp() const
{
    return m_registerAsDefaultApp;
}

QString CSettingsStorage::updateCheckerShowedVersion() const
{
    return readValue(UpdateCheckerShowedVersionKey, QString());
}

void CSettingsStorage::setUpdateCheckerShowedVersion(const QString& val)
{
    if (writeValue(UpdateCheckerShowedVersionKey, val))
        emit updateCheckerShowedVersionChanged(val);
}

bool CSettingsStorage::showFirstStartWizard() const
{
    return readValue(ShowFirstStartWizardKey, true);
}

void CSettingsStorage::setShowFirstStartWizard(const bool& val)
{
    if (writeValue(ShowFirstStartWizardKey, val))
        emit showFirstStartWizardChanged(val);
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

QString CSettingsStorage::lastOpenFilePath() const
{
    return readValue(LastOpenFilePathKey, desktopFolder());
}

void CSettingsStorage::setLastOpenFilePath(const QString& val)
{
    if (writeValue(LastOpenFilePathKey, val))
        emit lastOpenFilePathChanged(val);
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

QString CSettingsStorage::desktopFolder()
{
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::DesktopLocation);
    return folders.isEmpty() ? QString() : folders.first();
}
