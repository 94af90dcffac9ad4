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

bool ScratchProfile::turnOffUpdateCheck() const
{
    QSettings settings(CApplicaiton::configFilePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("updateCheckerEnabled"), false);
    settings.sync();
    return settings.status() == QSettings::NoError;
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
