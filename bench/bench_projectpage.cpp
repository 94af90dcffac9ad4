// The project page at 1280 x 800 with many photo slides: binding a project until the first
// paint, adding a folder of photos, the thumbnails in view, memory over an empty page, frame
// times of a wheel-step scroll from top to bottom, and the list operations.
//   bench_projectpage [count]   photos are written once into <temp>/ty_bench_projectpage
#include "BenchPhotos.h"
#include "BenchTiming.h"

#include "model/ProjectFile.h"
#include "model/SlideInterfaces.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/SlideRowThumbnailCache.h"
#include "pages/SlideRowWidget.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentMap>

#include <cstdio>
#include <memory>

namespace {

QString photoFolder(int count)
{
    QDir dir(QDir::temp().filePath(QStringLiteral("ty_bench_projectpage")));
    dir.mkpath(QStringLiteral("."));
    QList<int> missing;
    for (int i = 0; i < count; ++i) {
        if (!QFileInfo::exists(dir.filePath(QStringLiteral("photo%1.jpg").arg(i))))
            missing << i;
    }
    QtConcurrent::blockingMap(missing, [&dir](int index) { writeBenchPhoto(dir, index, QSize(1280, 960)); });
    return dir.path();
}

double elapsedMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void paintNow(QWidget* widget)
{
    widget->repaint();
    QCoreApplication::processEvents();
}

bool thumbnailsPending(ProjectPage* page, const ProjectFile& project)
{
    auto* view = page->slidesView();
    const int first = std::max(view->rowAt(0), 1);
    int last = view->rowAt(view->viewport()->height() - 1);
    if (last < 0)
        last = project.itemCount() - 1;
    for (int row = first; row <= last; ++row) {
        auto* photo = dynamic_cast<IFileSourceItem*>(project.item(row));
        if (photo && SlideRowWidget::ThumbnailCache::instance()->isPending(64, photo->fileName()))
            return true;
    }
    return false;
}

void select(ProjectPage* page, const QList<int>& rows)
{
    QItemSelection selection;
    for (int row : rows) {
        const QModelIndex index = page->slidesView()->model()->index(row, 0);
        selection.select(index, index);
    }
    page->slidesView()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initSlideshowResources();
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    const QString folder = photoFolder(count);
    QStringList photos;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name).mid(0, count))
        photos.append(QDir(folder).filePath(name));

    QTemporaryDir requests;
    ProjectPage page(nullptr, requests.path(), nullptr);
    page.setGeometry(0, 0, 1280, 800);
    page.updateTexts();
    ProjectFile empty(3000);
    page.setProject(&empty, true);
    page.show();
    paintNow(&page);
    const long emptyKb = residentKb();

    // Binding a project of photo slides until its first paint.
    ProjectFile project(3000);
    QList<ProjectItem*> items;
    for (const QString& photo : photos)
        project.collectImageItems(photo, 3000, 2, items);
    project.insertItems(items, -1);
    QElapsedTimer shown;
    shown.start();
    page.setProject(&project, false);
    paintNow(&page);
    const double bindMs = shown.nsecsElapsed() / 1e6;
    QDeadlineTimer deadline(60000);
    while (thumbnailsPending(&page, project) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    paintNow(&page);
    const double thumbnailsMs = shown.nsecsElapsed() / 1e6 - bindMs;
    const long fullKb = residentKb();

    // Scrolling top to bottom by wheel steps, one paint per step.
    QScrollBar* bar = page.slidesView()->verticalScrollBar();
    bar->setValue(0);
    paintNow(&page);
    const int wheelStep = 3 * 73;
    std::vector<double> frames;
    while (bar->value() < bar->maximum()) {
        frames.push_back(elapsedMs([&] {
            bar->setValue(bar->value() + wheelStep);
            paintNow(page.slidesView()->viewport());
        }));
    }
    std::sort(frames.begin(), frames.end());
    double sum = 0;
    for (double frame : frames)
        sum += frame;
    const double mean = frames.empty() ? 0 : sum / frames.size();
    const double p95 = frames.empty() ? 0 : frames[std::min(frames.size() - 1, frames.size() * 95 / 100)];
    const double worst = frames.empty() ? 0 : frames.back();

    // The list operations on the full list.
    bar->setValue(0);
    select(&page, {2, 3});
    const double moveMs = elapsedMs([&] { page.moveSelectedDown(); });
    const double duplicateMs = elapsedMs([&] {
        page.duplicateSelected();
        QCoreApplication::processEvents();
    });
    select(&page, {5, 6});
    const double deleteMs = elapsedMs([&] { page.removeSlides(nullptr); });
    QList<int> all;
    for (int row = 1; row < project.itemCount(); ++row)
        all.append(row);
    select(&page, all);
    const double rotateMs = elapsedMs([&] { page.rotateSelected(); });

    // Adding the folder to an empty project.
    ProjectFile adding(3000);
    page.setProject(&adding, true);
    const double addMs = elapsedMs([&] {
        page.addImageFiles({folder}, -1);
        paintNow(&page);
    });

    std::printf("slides                   %d\n", count);
    std::printf("setProject to paint      %.1f ms\n", bindMs);
    std::printf("thumbnails in view       %.1f ms later\n", thumbnailsMs);
    std::printf("memory over empty page   %.1f MB\n", (fullKb - emptyKb) / 1024.0);
    std::printf("scroll frames            mean %.2f ms, p95 %.2f ms, max %.2f ms (%zu steps)\n", mean, p95,
                worst, frames.size());
    std::printf("move down                %.1f ms\n", moveMs);
    std::printf("duplicate two            %.1f ms\n", duplicateMs);
    std::printf("delete two               %.1f ms\n", deleteMs);
    std::printf("rotate all               %.1f ms\n", rotateMs);
    std::printf("add folder               %.1f ms\n", addMs);
    page.setProject(nullptr, false);
    return 0;
}
