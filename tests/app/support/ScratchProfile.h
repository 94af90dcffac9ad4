#pragma once

#include "support/AppTestSupport.h"

#include <QString>
#include <QVariantMap>

// A profile of ty_slideshow of its own: HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and TMPDIR of
// this process, and so of the program run in it or started from it, point into one folder, and
// the application name is the program's, so that the program's settings, history and autosave
// folder are found there.
class ScratchProfile
{
public:
    // In that folder, made when missing; in a temporary one when the path is empty.
    explicit ScratchProfile(const QString& root = QString());

    bool isValid() const { return m_folders.isValid(); }
    QString root() const { return m_folders.root(); }

    // Writes the values into "settings.ini"; other values are kept.
    bool writeSettings(const QVariantMap& values) const;
    // Writes "settings.ini" with the update check off; other values are kept.
    bool turnOffUpdateCheck() const;
    // Puts the project into the autosave folder, where the program reopens it at start;
    // false with the reason when it cannot be read or written.
    bool putLatestProject(const QString& projectFile, QString* error) const;

private:
    PrivateFolders m_folders;
};
