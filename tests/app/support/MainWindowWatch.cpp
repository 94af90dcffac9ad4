#include "support/MainWindowWatch.h"

#include "app/CSystemTools.h"
#include "app/MainWindow.h"
#include "uilib/controls/COverlay.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "pages/ProgressBox.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/SlideRowThumbnailCache.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStackedWidget>

MainWindowWatch::MainWindowWatch(QObject* parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

MainWindowWatch::~MainWindowWatch() = default;

MainWindow* MainWindowWatch::mainWindow()
{
    CSystemTools* tools = CSystemTools::instance();
    return tools ? qobject_cast<MainWindow*>(tools->mainWindow()) : nullptr;
}

bool MainWindowWatch::showsJob()
{
    const MainWindow* window = mainWindow();
    return window && (window->progressBox()->isVisible() || window->overlay()->isVisible());
}

QString MainWindowWatch::state() const
{
    const MainWindow* window = mainWindow();
    if (!window)
        return QStringLiteral("no main window");
    if (!m_windowPainted)
        return QStringLiteral("the main window is not painted");
    const ProjectPage* page = window->projectPage();
    const ProjectFile* project = page->project();
    const QList<Thumbnail*> thumbnails = thumbnailsInView(page);
    return QStringLiteral("page %1 in front, %2 rows for %3 slides, %4 of %5 thumbnails in view painted%6")
        .arg(window->pages()->currentIndex())
        .arg(page->slidesView()->model()->rowCount())
        .arg(project ? project->itemCount() : 0)
        .arg(picturedCount(thumbnails))
        .arg(thumbnails.size())
        .arg(showsJob() ? QStringLiteral(", a job in progress") : QString());
}

bool MainWindowWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    MainWindow* window = mainWindow();
    if (window && widget->window() == window)
        onPaint(widget, window);
    return false;
}

void MainWindowWatch::onPaint(QWidget* widget, MainWindow* window)
{
    if (!m_windowPainted) {
        m_windowPainted = true;
        emit windowPainted();
    }
    const ProjectPage* page = window->projectPage();
    if (auto* button = qobject_cast<Thumbnail*>(widget)) {
        if (ProjectItem* item = pictureToPaint(button))
            m_pictured.insert(button, Painted{button, item});
        else
            m_pictured.remove(button);
    } else if (widget != page->slidesView()->viewport()) {
        return;
    }
    if (!m_rowsShown && widget == page->slidesView()->viewport() && showsAllRows(window)) {
        m_rowsShown = true;
        emit rowsShown();
    }
    if (!m_rowsShown || m_thumbnailsPainted)
        return;
    const QList<Thumbnail*> thumbnails = thumbnailsInView(page);
    if (picturedCount(thumbnails) == thumbnails.size()) {
        m_thumbnailsPainted = true;
        emit thumbnailsPainted();
    }
}

ProjectItem* MainWindowWatch::pictureToPaint(Thumbnail* button)
{
    ProjectItem* item = button->item();
    auto* photo = dynamic_cast<ProjectItemSimple*>(item);
    if (!photo)
        return item; // drawn on the spot
    // The lookup the button makes as it paints: a picture ready in the cache is painted.
    const int side = qRound(button->contentsRect().width() * button->devicePixelRatioF());
    const QPixmap picture = SlideRowWidget::ThumbnailCache::instance()->thumbnail(side, photo->fileName(), button);
    return picture.isNull() ? nullptr : item;
}

bool MainWindowWatch::showsAllRows(const MainWindow* window)
{
    const ProjectPage* page = window->projectPage();
    const ProjectFile* project = page->project();
    return window->pages()->currentWidget() == page && project && project->itemCount() > 0
        && page->slidesView()->model()->rowCount() == project->itemCount();
}

QList<MainWindowWatch::Thumbnail*> MainWindowWatch::thumbnailsInView(const ProjectPage* page)
{
    const ProjectPage::SlidesView* view = page->slidesView();
    const int first = view->rowAt(0);
    if (first < 0)
        return {};
    int last = view->rowAt(view->viewport()->height() - 1);
    if (last < 0)
        last = view->model()->rowCount() - 1;
    QList<Thumbnail*> buttons;
    for (int row = first; row <= last; ++row) {
        auto* widget = qobject_cast<SlideRowWidget*>(view->indexWidget(view->model()->index(row, 0)));
        if (!widget) {
            buttons.append(nullptr);
            continue;
        }
        // A row cut by the edge may show none of its thumbnail.
        Thumbnail* button = widget->thumbnail();
        const QRect area(button->mapTo(view->viewport(), QPoint()), button->size());
        if (area.intersects(view->viewport()->rect()))
            buttons.append(button);
    }
    return buttons;
}

int MainWindowWatch::picturedCount(const QList<Thumbnail*>& buttons) const
{
    int count = 0;
    for (Thumbnail* button : buttons) {
        const auto painted = m_pictured.constFind(button);
        if (button && painted != m_pictured.constEnd() && painted->button == button && painted->item == button->item())
            ++count;
    }
    return count;
}
