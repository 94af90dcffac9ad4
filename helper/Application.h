#pragma once

#include "helper/VideoEncoder.h"

#include <QApplication>
#include <QString>

// The render helper's application object: a GUI application (images, painters and
// fonts work without a display), the one video encoder of the run and the folder
// in which the run keeps its work files.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Null while no Application exists.
    static Application* instance();
    // Name, organization and version; the name also names the session's registry key,
    // so it is the interactive program's.
    static void setIdentity();

    VideoEncoder& encoder() { return m_encoder; }

    // The run's own folder "<cache root>/<new UUID>", created on the first call (the cache
    // root is AppPaths::userCacheDir() unless set) and removed with everything in it when
    // the application goes; empty when it cannot be created (nothing is cached then, so a
    // later call tries again).
    QString cacheFolder();
    void setCacheRoot(const QString& root) { m_cacheRoot = root; }
    QString cacheRoot() const { return m_cacheRoot; }

    // Where ffmpeg runs and its list files are written.
    void setWorkFolder(const QString& folder) { m_workFolder = folder; }
    QString workFolder() const { return m_workFolder; }

private:
    QString m_workFolder;
    QString m_cacheFolder;
    QString m_cacheRoot;
    VideoEncoder m_encoder;
};
