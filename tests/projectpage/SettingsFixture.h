#pragma once

#include "support/UiTestSupport.h"

#include "app/CApplicaiton.h"
#include "app/SettingsProvider.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// Program settings in a file of their own, made the running application's while the fixture
// lives; the test environment's own settings come back after it.
class SettingsFixture
{
public:
    SettingsFixture()
    {
        QSettings stored(m_folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        stored.setValue(QStringLiteral("folder"), m_folder.path());
        stored.sync();
        m_settings = std::make_unique<SettingsProvider>(stored.fileName(), QSettings::IniFormat, nullptr);
        application()->setSettings(m_settings.get());
    }
    ~SettingsFixture() { application()->setSettings(UiTestEnvironment::settings()); }

    SettingsProvider* settings() const { return m_settings.get(); }
    QString folder() const { return m_folder.path(); }

private:
    static CApplicaiton* application() { return static_cast<CApplicaiton*>(QCoreApplication::instance()); }

    QTemporaryDir m_folder;
    std::unique_ptr<SettingsProvider> m_settings;
};
