#include "app/Application.h"

#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "app/ThubnailProvider.h"
#include "model/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

Application::Application(int& argc, char** argv)
    : CApplicaiton(argc, argv)
{
}

Application::~Application()
{
    delete m_historyModel;
    m_historyModel = nullptr;
    if (m_thumbnailProvider) {
        m_thumbnailProvider->requestInterruption();
        m_thumbnailProvider->wait();
    }
    if (!m_tempFolder.isEmpty())
        AppPaths::removeDirRecursively(m_tempFolder);
}

bool Application::init()
{
    warmUpTls();
    m_thumbnailProvider = new ThubnailProvider(this);
    m_thumbnailProvider->start(QThread::InheritPriority);
    m_historyModel = new HistoryModel(this);
    CSystemTools::instance();
    return true;
}

HistoryModel* Application::historyModel() const
{
    return m_historyModel;
}

QString Application::tempFolder()
{
    if (m_tempFolder.isEmpty()) {
        const QString path = AppPaths::userCacheDir() + QLatin1Char('/') + QUuid::createUuid().toString();
        m_tempFolder = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    }
    if (!QDir(m_tempFolder).exists())
        QDir().mkpath(m_tempFolder);
    return m_tempFolder;
}

QString Application::webAddress() const
{
    return m_webAddress;
}
