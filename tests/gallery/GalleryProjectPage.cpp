// The project page under TyStyle over a small project of photos and colour slides: two rows
// selected, the caption page open over the list, and the insertion marker of a drag.

#include "Gallery.h"

#include "app/HistoryModel.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemSimple.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/SlideRowThumbnailCache.h"
#include "pages/SlideRowWidget.h"
#include "pages/TextPage.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDragMoveEvent>
#include <QLinearGradient>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace {

QString writePhoto(const QTemporaryDir& dir, const QString& name, const QColor& top, const QColor& bottom)
{
    QImage image(320, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, 200);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(40, 90, 50));
    painter.drawEllipse(QPoint(90, 200), 140, 70);
    painter.end();
    const QString path = dir.filePath(name);
    image.save(path, "jpg", 90);
    return path;
}

// A page over a project of four photos and two colour slides, shown at 1280 x 800.
struct PageShot
{
    PageShot()
        : history(new HistoryModel)
    {
        project = std::make_unique<ProjectFile>(3000);
        project->file_name = dir.filePath(QStringLiteral("Отпуск на море.webm"));
        project->format = QStringLiteral("webm");
        QList<ProjectItem*> items;
        const QStringList names{"Закат.jpg", "Пляж.jpg", "Горы.jpg", "Город.jpg"};
        for (int i = 0; i < names.size(); ++i) {
            const QColor top = QColor::fromHsv(200 + 30 * i, 150, 220);
            photos.append(writePhoto(dir, names.at(i), top, QColor(240, 200, 120)));
            items.append(new ProjectItemSimple(photos.last(), 3000, 2));
            if (i == 1)
                items.append(ProjectFile::createColorItem(4, 2000, 3));
        }
        items.append(ProjectFile::createColorItem(9, 5000, 0));
        project->insertItems(items, -1);
        page = std::make_unique<ProjectPage>(history.get(), dir.path(), nullptr);
        page->updateTexts();
        page->setGeometry(60, 60, 1280, 800);
        page->setProject(project.get(), true);
        showExposed(page.get());
        waitForThumbnails();
    }

    void waitForThumbnails()
    {
        renderWidget(page.get(), 1.0);
        QDeadlineTimer deadline(10000);
        for (const QString& photo : photos) {
            while (SlideRowWidget::ThumbnailCache::instance()->isPending(64, photo) && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        settleGallery();
    }

    QImage shot() { return renderWidget(page.get(), 1.0, currentPalette()->color(2)); }

    void select(const QList<int>& rows)
    {
        QItemSelection selection;
        for (int row : rows) {
            const QModelIndex index = page->slidesView()->model()->index(row, 0);
            selection.select(index, index);
        }
        page->slidesView()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        settleGallery();
    }

    QTemporaryDir dir;
    QStringList photos;
    std::unique_ptr<HistoryModel> history;
    std::unique_ptr<ProjectFile> project;
    std::unique_ptr<ProjectPage> page;
};

} // namespace

TY_GALLERY_ENTRY("page-project")
{
    useAppStyle(true);
    ManualAnimationClock animations;
    PageShot shot;
    shot.select({2, 4});
    animations.advance(2000);
    page.add(shot.shot(), QStringLiteral("two-selected"), true);

    shot.page->editCaption(shot.project->item(1));
    animations.advance(2000);
    settleGallery();
    page.add(shot.shot(), QStringLiteral("caption-page"), true);
    shot.page->captionPage()->hide();

    // A photo dragged in from outside hovers over the lower half of row 2.
    auto* view = shot.page->slidesView();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(shot.photos.first())});
    const QRect row = view->visualRect(view->model()->index(2, 0));
    const QPoint at(row.center().x(), row.center().y() + 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &move);
    animations.advance(2000);
    page.add(shot.shot(), QStringLiteral("drop-marker"), true);
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(view->viewport(), &leave);
}
