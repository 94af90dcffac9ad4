#include "support/PageFixture.h"

#include "support/AppTestSupport.h"

#include "app/CApplicaiton.h"
#include "app/HistoryModel.h"
#include "app/SettingsProvider.h"
#include "app/audio/Mp3.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideInterfaces.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/VideoPlayerWidget.h"
#include "resources/Resources.h"
#include "support/FakeAudioPlayer.h"

#include <QDir>
#include <QFileInfo>

namespace {

SettingsProvider* s_settings = nullptr;

} // namespace

SettingsProvider* testSettings()
{
    return s_settings;
}

int runPageTestMain(int argc, char** argv, int (*run)(int, char**))
{
    PrivateFolders folders;
    if (!folders.isValid())
        return 1;
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    CApplicaiton app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ty_projectpage_test"));
    QTemporaryDir settingsFolder;
    SettingsProvider settings(settingsFolder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat,
                              nullptr);
    app.setSettings(&settings);
    s_settings = &settings;
    initSlideshowResources();
    const int result = run(argc, argv);
    s_settings = nullptr;
    app.setSettings(nullptr);
    return result;
}

RecordedMessages::RecordedMessages()
{
    ProjectPage::Messages replacement;
    replacement.confirmClearProject = [this] {
        ++clearQuestions;
        return clearAnswer;
    };
    replacement.showNoImagesInFolder = [this] { ++noImages; };
    replacement.showMissingFiles = [this](const QStringList& files) { missing.append(files); };
    replacement.showCreationError = [this](const QString& error) { errors.append(error); };
    ProjectPage::setMessages(replacement);
}

RecordedMessages::~RecordedMessages()
{
    ProjectPage::setMessages({});
}

PageFixture::PageFixture(const QString& slides, bool bind)
    : m_history(std::make_unique<HistoryModel>())
    , m_project(std::make_unique<ProjectFile>(3000))
{
    QDir().mkpath(m_dir.filePath(QStringLiteral("videos")));
    testSettings()->setFolder(m_dir.filePath(QStringLiteral("videos")));
    m_project->format = QStringLiteral("webm");
    m_project->file_name = m_dir.filePath(QStringLiteral("videos/start.webm"));
    QList<ProjectItem*> items;
    for (int i = 0; i < slides.size(); ++i) {
        const QString name = QString::number(i + 1);
        if (slides.at(i) == QLatin1Char('p'))
            items.append(new ProjectItemSimple(writeImage(name + QStringLiteral(".jpg")), 3000, 0));
        else
            items.append(ProjectFile::createColorItem(i + 1, 3000, 0));
    }
    m_project->insertItems(items, -1);
    m_page = std::make_unique<ProjectPage>(m_history.get(), m_dir.path(), nullptr);
    m_page->previewPanel()->setMusicPlayerFactory([](QObject* parent) { return new Mp3(new FakeAudioPlayer, parent); });
    m_page->resize(1280, 800);
    m_page->updateTexts();
    if (bind)
        m_page->setProject(m_project.get(), true);
}

PageFixture::~PageFixture()
{
    m_page.reset();
}

QString PageFixture::writeImage(const QString& relativePath) const
{
    return ::writeImage(m_dir.filePath(relativePath), QSize(32, 24),
                        QColor::fromHsv((qHash(relativePath) % 360), 200, 200), "JPG");
}

QString PageFixture::nameOf(const ProjectItem* item) const
{
    if (dynamic_cast<const IStarterItem*>(item))
        return QStringLiteral("T");
    if (auto* file = dynamic_cast<const IFileSourceItem*>(item))
        return QFileInfo(file->fileName()).completeBaseName();
    if (auto* colour = dynamic_cast<const IColorBackground*>(item))
        return QString::number(colour->bgIndex());
    return QStringLiteral("?");
}

QStringList PageFixture::order() const
{
    QStringList names;
    for (const ProjectItem* item : m_project->items())
        names.append(nameOf(item));
    return names;
}

void PageFixture::select(const QList<int>& rows) const
{
    QItemSelectionModel* selection = m_page->slidesView()->selectionModel();
    selection->clearSelection();
    QItemSelection wanted;
    for (int row : rows) {
        const QModelIndex index = m_page->slidesView()->model()->index(row, 0);
        wanted.select(index, index);
    }
    selection->select(wanted, QItemSelectionModel::Select);
}

QList<int> PageFixture::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_page->slidesView()->selectionModel()->selectedRows(0))
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}
