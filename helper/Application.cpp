#include "helper/Application.h"

#include "model/AppPaths.h"
#include "platform/FontStandIns.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setIdentity();
    // Captions are drawn with the faces the interactive program's preview uses.
    FontStandIns::install();
}

Application::~Application()
{
    m_encoder.close();
    // Nothing of a run stays: converted music, lists and streams all live in it.
    if (!m_cacheFolder.isEmpty())
        AppPaths::removeDirRecursively(m_cacheFolder);
}

Application* Application::instance()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

void Application::setIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kestrova Slideshow Maker"));
    QCoreApplication::setOrganizationName(QStringLiteral("KestrovaSoft"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("kestrovasoft.com"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.8"));
}

QString Application::cacheFolder()
{
    if (!m_cacheFolder.isEmpty())
        return m_cacheFolder;
    if (m_cacheRoot.isEmpty())
        m_cacheRoot = AppPaths::userCacheDir();
    const QString folder = QDir::toNativeSeparators(
        QFileInfo(m_cacheRoot + QLatin1Char('/') + QUuid::createUuid().toString()).absoluteFilePath());
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return QString();
    m_cacheFolder = folder;
    return m_cacheFolder;
}
