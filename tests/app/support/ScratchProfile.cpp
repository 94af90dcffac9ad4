#include "support/ScratchProfile.h"

#include "app/CApplicaiton.h"
#include "app/SlideshowMain.h"
#include "model/ProjectFile.h"

#include <QCoreApplication>
#include <QSettings>

#include <memory>

ScratchProfile::ScratchProfile(const QString& root)
    : m_folders(root)
{
    QCoreApplication::setApplicationName(slideshowApplicationName());
}

bool ScratchProfile::writeSettings(const QVariantMap& values) const
{
    QSettings settings(CApplicaiton::configFilePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool ScratchProfile::turnOffUpdateCheck() const
{
    return writeSettings({{QStringLiteral("updateCheckerEnabled"), false}});
}

bool ScratchProfile::putLatestProject(const QString& projectFile, QString* error) const
{
    std::unique_ptr<ProjectFile> project(ProjectFile::load(projectFile));
    if (!project) {
        *error = QStringLiteral("%1 holds no project that can be read").arg(projectFile);
        return false;
    }
    if (!project->saveAsLatest()) {
        *error = QStringLiteral("the project cannot be written into the autosave folder of %1").arg(root());
        return false;
    }
    return true;
}
