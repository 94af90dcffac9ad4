#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "pages/HistoryPage.h"
#include "pages/PageShell.h"
#include "pages/TyStyle.h"
#include "resources/Resources.h"
#include "platform/FileTime.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CStyle.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QUrl>

#include <memory>

namespace {

bool sameArrow(const ArrowSpec& a, const ArrowSpec& b)
{
    return a.size == b.size && a.margins == b.margins && a.direction == b.direction && a.width == b.width;
}

// Catches the URLs the desktop would open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

// The history page over a history and videos in a temporary folder.
class TestHistoryPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void presentVideoRow();
    void missingVideoRow();
    void markupInFileNameShowsAsWritten();
    void footerButtons();
    void headingsToggleOrder();
    void doubleClickOpens();
    void clickOnRowChoosesIt_data();
    void clickOnRowChoosesIt();
    void rowActions();
    void clearAsksFirst();
    void rowsTakeHeaderWidths();

private:
    QString addProject(const QString& name, qint64 bytes, qint64 durationMs = 3725000);
    QList<HistoryPage::RowWidget*> rows() const;
    QStringList sortedNames() const;
    void makePage();

    QTemporaryDir m_videos;
    std::unique_ptr<HistoryModel> m_history;
    std::unique_ptr<HistoryPage> m_page;
    bool m_answer = false;
    int m_asked = 0;
};

void TestHistoryPage::initTestCase()
{
    QVERIFY(m_videos.isValid());
    // The history file goes into the test's own folder.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(UiTestEnvironment::instance()->folder() + "/config"));
    QCoreApplication::setApplicationName(QStringLiteral("history page test"));
    initSlideshowResources();
    CStyle* style = CSystemTools::instance()->style();
    style->registerPalette(new TyStyle(style));
    QVERIFY(style->setCurrentStyle(QStringLiteral("TyStyle")));
    QVERIFY(!currentPalette()->arrowStyle(1002).size.isEmpty());
    PageShell::functions().confirmClearHistory = [this] {
        ++m_asked;
        return m_answer;
    };
}

void TestHistoryPage::init()
{
    QFile::remove(HistoryModel::historyFile());
    m_history = std::make_unique<HistoryModel>();
    m_asked = 0;
}

void TestHistoryPage::cleanup()
{
    m_page.reset();
    m_history.reset();
    PageShell::functions().showInFolder = nullptr;
}

// A project of a video of `bytes` bytes; a negative size leaves the video missing.
QString TestHistoryPage::addProject(const QString& name, qint64 bytes, qint64 durationMs)
{
    const QString path = m_videos.filePath(name);
    if (bytes >= 0) {
        QFile video(path);
        if (!video.open(QIODevice::WriteOnly) || !video.resize(bytes))
            return QString();
    }
    ProjectFile project(0);
    project.file_name = path;
    project.resolution = Resolution(1280, 720);
    project.insertItems({new ProjectItemColor(int(durationMs), 0)}, -1);
    m_history->addProject(&project);
    return path;
}

void TestHistoryPage::makePage()
{
    m_page = std::make_unique<HistoryPage>(m_history.get(), nullptr);
    m_page->updateTexts();
    m_page->resize(1000, 500);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

QList<HistoryPage::RowWidget*> TestHistoryPage::rows() const
{
    QList<HistoryPage::RowWidget*> shown;
    for (CButton* button : m_page->findChildren<CButton*>()) {
        auto* row = dynamic_cast<HistoryPage::RowWidget*>(button);
        if (row && row->isVisibleTo(m_page.get()) && !row->fileName().isEmpty())
            shown.append(row);
    }
    std::sort(shown.begin(), shown.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    return shown;
}

QStringList TestHistoryPage::sortedNames() const
{
    QStringList names;
    QSortFilterProxyModel* model = m_page->sortModel();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 1).data().toString();
    return names;
}

void TestHistoryPage::presentVideoRow()
{
    const QString path = addProject(QStringLiteral("present.mp4"), 1572864);
    QVERIFY(!path.isEmpty());
    QCOMPARE(m_history->project(path)->totalDuration(), qint64(3725000));
    makePage();
    QCOMPARE(rows().size(), 1);
    HistoryPage::RowWidget* row = rows().first();
    QCOMPARE(row->styleKind(), 1043);
    QCOMPARE(row->height(), 48);
    QCOMPARE(row->sizeLabel()->text(), QStringLiteral(" 1.50 MB"));
    QCOMPARE(row->durationLabel()->text(), QStringLiteral("1:02:05"));
    QCOMPARE(row->resolutionLabel()->text(), QStringLiteral("1280x720"));
    QCOMPARE(row->nameLabel()->text(), QStringLiteral("present.mp4"));
    QCOMPARE(row->dateLabel()->text(), FileTime::created(QFileInfo(path)).toString(QStringLiteral("dd.MM.yyyy")));
    QVERIFY(row->folderButton()->isEnabled());
    QVERIFY(row->playButton()->isEnabled());
    QVERIFY(row->deleteButton()->isEnabled());
}

void TestHistoryPage::missingVideoRow()
{
    addProject(QStringLiteral("gone.mp4"), -1, 61000);
    makePage();
    QCOMPARE(rows().size(), 1);
    HistoryPage::RowWidget* row = rows().first();
    QCOMPARE(row->dateLabel()->text(), QStringLiteral("удалено"));
    QCOMPARE(row->sizeLabel()->text(), QStringLiteral("удалено"));
    QCOMPARE(row->durationLabel()->text(), QStringLiteral("0:01:01"));
    QVERIFY(!row->folderButton()->isEnabled());
    QVERIFY(!row->playButton()->isEnabled());
    QVERIFY(row->deleteButton()->isEnabled());
    QVERIFY(clickAsUser(row->deleteButton()));
    QCOMPARE(m_history->rowCount(), 0);
    QTRY_VERIFY(rows().isEmpty());
    QVERIFY(!m_page->footer()->clearButton->isEnabled());
}

void TestHistoryPage::markupInFileNameShowsAsWritten()
{
    const QString markup = QStringLiteral("<b>x<b>&amp;.mp4");
    QVERIFY(!addProject(markup, 10).isEmpty());
    makePage();
    CWidgetText* name = rows().first()->nameLabel();
    QCOMPARE(name->text(), markup);
    QCOMPARE(name->textFormat(), Qt::PlainText);
    QVERIFY(name->sizeHint().width() >= name->fontMetrics().horizontalAdvance(markup));
}

void TestHistoryPage::footerButtons()
{
    makePage();
    HistoryPage::Footer* footer = m_page->footer();
    QVERIFY(!footer->clearButton->isEnabled());
    QVERIFY(!footer->openButton->isEnabled());
    QCOMPARE(footer->clearButton->text(), QStringLiteral("ОЧИСТИТЬ ИСТОРИЮ"));
    QCOMPARE(footer->openButton->text(), QStringLiteral("ОТКРЫТЬ ПРОЕКТ"));

    const QString path = addProject(QStringLiteral("one.mp4"), 100);
    QTRY_VERIFY(footer->clearButton->isEnabled());
    QVERIFY(!footer->openButton->isEnabled());
    QTRY_COMPARE(rows().size(), 1);
    QSignalSpy toggled(m_page->rowGroup(), &CButtonGroup::toggled);
    rows().first()->setCheckedAndEmit(true);
    QVERIFY(toggled.wait(5000));
    QVERIFY(footer->openButton->isEnabled());

    QSignalSpy opened(m_page.get(), &HistoryPage::openProjectClicked);
    QVERIFY(clickAsUser(footer->openButton));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().at(0).toString(), path);
}

void TestHistoryPage::headingsToggleOrder()
{
    addProject(QStringLiteral("b-missing.mp4"), -1);
    addProject(QStringLiteral("a-present.mp4"), 100);
    makePage();
    HistoryPage::Header* header = m_page->header();
    const ArrowSpec up = currentPalette()->arrowStyle(1002);
    const ArrowSpec down = currentPalette()->arrowStyle(1003);
    // Newest first: a video that is gone has no date.
    QCOMPARE(m_page->sortModel()->sortColumn(), 0);
    QVERIFY(sameArrow(header->dateHeading->firstArrow(), down));
    QCOMPARE(header->nameHeading->firstArrow().size, QSize(0, 0));
    QCOMPARE(sortedNames(), QStringList({"a-present.mp4", "b-missing.mp4"}));

    QVERIFY(clickAsUser(header->dateHeading));
    QVERIFY(sameArrow(header->dateHeading->firstArrow(), up));
    QCOMPARE(sortedNames(), QStringList({"b-missing.mp4", "a-present.mp4"}));
    QVERIFY(clickAsUser(header->dateHeading));
    QVERIFY(sameArrow(header->dateHeading->firstArrow(), down));
    QCOMPARE(sortedNames(), QStringList({"a-present.mp4", "b-missing.mp4"}));
    QTRY_COMPARE(rows().first()->fileName(), m_videos.filePath("a-present.mp4"));

    // The other column takes the order toggled from the current one.
    QVERIFY(clickAsUser(header->nameHeading));
    QCOMPARE(m_page->sortModel()->sortColumn(), 1);
    QVERIFY(sameArrow(header->nameHeading->firstArrow(), up));
    QCOMPARE(header->dateHeading->firstArrow().size, QSize(0, 0));
    QCOMPARE(sortedNames(), QStringList({"a-present.mp4", "b-missing.mp4"}));
    QVERIFY(clickAsUser(header->nameHeading));
    QVERIFY(sameArrow(header->nameHeading->firstArrow(), down));
    QCOMPARE(sortedNames(), QStringList({"b-missing.mp4", "a-present.mp4"}));
    QTRY_COMPARE(rows().first()->fileName(), m_videos.filePath("b-missing.mp4"));
}

void TestHistoryPage::doubleClickOpens()
{
    const QString path = addProject(QStringLiteral("twice.mp4"), 100);
    makePage();
    QSignalSpy opened(m_page.get(), &HistoryPage::openProjectClicked);
    HistoryPage::RowWidget* row = rows().first();
    const QPoint point = row->mapTo(m_page.get(), QPoint(row->width() / 2, 10));
    QTest::mouseDClick(m_page->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().at(0).toString(), path);
    QTest::mouseDClick(m_page->windowHandle(), Qt::RightButton, Qt::NoModifier, point);
    QCOMPARE(opened.size(), 1);
}

void TestHistoryPage::clickOnRowChoosesIt_data()
{
    QTest::addColumn<int>("cell");
    QTest::newRow("on the name") << 1;
    QTest::newRow("on the date") << 0;
    QTest::newRow("in the margin") << -1;
}

// A click anywhere on a row but its action buttons chooses it for the open button.
void TestHistoryPage::clickOnRowChoosesIt()
{
    QFETCH(int, cell);
    addProject(QStringLiteral("first.mp4"), 100);
    const QString path = addProject(QStringLiteral("second.mp4"), 100);
    makePage();
    HistoryPage::RowWidget* row = nullptr;
    for (HistoryPage::RowWidget* candidate : rows()) {
        if (candidate->fileName() == path)
            row = candidate;
    }
    QVERIFY(row);
    QWidget* cells[] = {row->dateLabel(), row->nameLabel()};
    const QPoint local = cell < 0 ? QPoint(4, row->height() / 2) : cells[cell]->geometry().center();
    QTest::mouseClick(m_page->windowHandle(), Qt::LeftButton, Qt::NoModifier, row->mapTo(m_page.get(), local));
    QTRY_VERIFY(row->isChecked());
    QVERIFY(m_page->footer()->openButton->isEnabled());
    QSignalSpy opened(m_page.get(), &HistoryPage::openProjectClicked);
    QVERIFY(clickAsUser(m_page->footer()->openButton));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().at(0).toString(), path);
}

void TestHistoryPage::rowActions()
{
    const QString path = addProject(QStringLiteral("play.mp4"), 100);
    makePage();
    HistoryPage::RowWidget* row = rows().first();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    const bool clicked = clickAsUser(row->playButton());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QVERIFY(clicked);
    QCOMPARE(catcher.urls, QList<QUrl>({QUrl::fromLocalFile(path)}));

    QStringList shown;
    PageShell::functions().showInFolder = [&](const QString& file) {
        shown << file;
        return true;
    };
    QVERIFY(clickAsUser(row->folderButton()));
    QCOMPARE(shown, QStringList({path}));
}

void TestHistoryPage::clearAsksFirst()
{
    addProject(QStringLiteral("keep.mp4"), 100);
    makePage();
    QVERIFY(QFileInfo::exists(HistoryModel::historyFile()));
    m_answer = false;
    QVERIFY(clickAsUser(m_page->footer()->clearButton));
    QCOMPARE(m_asked, 1);
    QCOMPARE(m_history->rowCount(), 1);
    QVERIFY(QFileInfo::exists(HistoryModel::historyFile()));

    m_answer = true;
    QVERIFY(clickAsUser(m_page->footer()->clearButton));
    QCOMPARE(m_asked, 2);
    QCOMPARE(m_history->rowCount(), 0);
    QVERIFY(!QFileInfo::exists(HistoryModel::historyFile()));
    QTRY_VERIFY(!m_page->footer()->clearButton->isEnabled());
    QVERIFY(!m_page->footer()->openButton->isEnabled());
}

void TestHistoryPage::rowsTakeHeaderWidths()
{
    addProject(QStringLiteral("w.mp4"), 100);
    makePage();
    HistoryPage::Header* header = m_page->header();
    QCOMPARE(header->height(), 36);
    QCOMPARE(header->dateHeading->text(), QStringLiteral("Дата"));
    QCOMPARE(header->nameHeading->text(), QStringLiteral("Имя файла"));
    QCOMPARE(header->actionLabel->text(), QStringLiteral("Действие"));
    QVERIFY(header->dateHeading->width() >= 120);
    QVERIFY(header->actionLabel->width() >= 128);
    HistoryPage::RowWidget* row = rows().first();
    QTRY_COMPARE(row->dateLabel()->x() + row->mapTo(m_page.get(), QPoint()).x(),
                 header->dateHeading->mapTo(m_page.get(), QPoint()).x());
    QCOMPARE(row->dateLabel()->width(), header->dateHeading->width());
    QCOMPARE(row->resolutionLabel()->width(), header->resolutionLabel->width());
    QCOMPARE(row->durationLabel()->width(), header->durationLabel->width());
    QCOMPARE(row->sizeLabel()->width(), header->sizeLabel->width());
    QCOMPARE(row->actions()->width(), header->actionLabel->width());
    QCOMPARE(row->sizeLabel()->mapTo(m_page.get(), QPoint()).x(),
             header->sizeLabel->mapTo(m_page.get(), QPoint()).x());
}

TY_UI_TEST_MAIN(TestHistoryPage)

#include "tst_historypage.moc"
