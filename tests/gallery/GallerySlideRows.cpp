// Slide rows under TyStyle: a photo with a caption (selected), a missing photo, a colour slide,
// the title slide shown and hidden; a photo thumbnail at each ratio; a row's file tooltip.

#include "Gallery.h"

#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "pages/SlideRowThumbnailCache.h"
#include "model/ProjectFile.h"
#include "pages/SlideRowWidget.h"
#include "pages/TextPage.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QToolTip>

#include <memory>

namespace {

QString writePhoto(const QTemporaryDir& dir)
{
    QImage image(320, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(1, QColor(240, 200, 120));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor(40, 90, 50));
    painter.drawEllipse(QPoint(90, 200), 140, 70);
    painter.setBrush(QColor(250, 230, 90));
    painter.drawEllipse(QPoint(240, 60), 24, 24);
    painter.end();
    const QString path = dir.filePath(QStringLiteral("Закат на море.jpg"));
    image.save(path, "jpg", 90);
    return path;
}

void waitForThumbnail(int side, const QString& path)
{
    QDeadlineTimer deadline(10000);
    while (SlideRowWidget::ThumbnailCache::instance()->isPending(side, path) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Renders once so that the thumbnail asks for its picture, waits for it, then renders again.
QImage renderLoaded(QWidget* widget, double ratio, const QString& path, int side)
{
    renderWidget(widget, ratio);
    waitForThumbnail(side, path);
    return renderWidget(widget, ratio, currentPalette()->color(2));
}

// A thumbnail painted through a paint scope at the ratio, as on a screen of that ratio.
class ThumbnailProbe : public SlideRowWidget::ThumbnailButton
{
public:
    ThumbnailProbe() : ThumbnailButton(nullptr) {}

    QImage paint(double ratio)
    {
        return paintAtRatio(size(), ratio, [this](QPainter* painter) {
            QStyleOption option;
            option.rect = rect();
            CPainterScope scope(painter, &option);
            drawButton(scope);
        }, currentPalette()->color(2));
    }
};

} // namespace

TY_GALLERY_ENTRY("slide-rows")
{
    useAppStyle(true);
    QTemporaryDir dir;
    const QString photoPath = writePhoto(dir);

    ProjectItemFirst title(3000);
    ProjectItemSimple photo(photoPath, 4000, 3);
    SlideText caption = photo.text();
    caption.text = QStringLiteral("Закат\nна море");
    photo.setText(caption);
    photo.setMotion(MotionPanLeft);
    ProjectItemSimple missing(dir.filePath(QStringLiteral("нет.jpg")), 2000, 5);
    ProjectItemColor colour(1000, 2);

    QWidget list;
    list.resize(900, 4 * 80);
    const auto addRow = [&list](ProjectItem* item, const QString& number, bool isTitle, int y) {
        auto* row = new SlideRowWidget(item, number, isTitle, &list);
        row->setColumnWidths({{100, 100}, {110, 110}, {200, 16777215}, {200, 16777215}, {250, 250}});
        row->setGeometry(0, y, 900, 80);
        return row;
    };
    SlideRowWidget* titleRow = addRow(&title, QString(), true, 0);
    addRow(&photo, QStringLiteral("1"), false, 80)->setChecked(true);
    addRow(&missing, QStringLiteral("2"), false, 160);
    addRow(&colour, QStringLiteral("3"), false, 240);
    list.show();
    page.add(renderLoaded(&list, 1.0, photoPath, 64), QStringLiteral("title-shown"), true);
    emit titleRow->visibilityOrDeleteButton()->clicked();
    page.add(renderLoaded(&list, 1.0, photoPath, 64), QStringLiteral("title-hidden"), true);
    list.hide();
}

TY_GALLERY_ENTRY("slide-row-thumbnail")
{
    useAppStyle(true);
    QTemporaryDir dir;
    const QString photoPath = writePhoto(dir);
    ProjectItemSimple photo(photoPath, 4000, 3);
    ProjectItemColor colour(1000, 2);
    for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
        for (ProjectItem* item : {static_cast<ProjectItem*>(&photo), static_cast<ProjectItem*>(&colour)}) {
            ThumbnailProbe button;
            button.setItem(item);
            button.paint(ratio);
            waitForThumbnail(qRound(64 * ratio), photoPath);
            const QString state = item == &photo ? QStringLiteral("photo") : QStringLiteral("colour");
            page.add(button.paint(ratio), state, true, ratio);
        }
    }
}

TY_GALLERY_ENTRY("slide-row-tooltip")
{
    useAppStyle(true);
    QTemporaryDir dir;
    ProjectItemSimple photo(writePhoto(dir), 4000, 3);
    ProjectItemSimple missing(dir.filePath(QStringLiteral("нет.jpg")), 2000, 5);
    for (ProjectItemSimple* item : {&photo, &missing}) {
        SlideRowWidget row(item, QStringLiteral("1"), false);
        QLabel tip(row.toolTipText());
        tip.setPalette(QToolTip::palette());
        tip.setAutoFillBackground(true);
        tip.setMargin(6);
        tip.resize(tip.sizeHint());
        page.add(renderWidget(&tip, 1.0), item == &photo ? QStringLiteral("photo") : QStringLiteral("missing"), true);
    }
}

TY_GALLERY_ENTRY("text-page")
{
    useAppStyle(true);
    QTemporaryDir dir;
    ProjectFile project(3000);
    project.resolution = Resolution(1280, 720);
    auto* photo = new ProjectItemSimple(writePhoto(dir), 4000, 3);
    auto* crowded = new ProjectItemSimple(writePhoto(dir), 4000, 3);
    SlideText caption = crowded->text();
    caption.text = QStringLiteral("Очень длинная подпись, которая не помещается на экране целиком даже "
                                  "в самом крупном размере шрифта, поэтому шрифт уменьшен");
    caption.font_size = TextInfo::Largest;
    crowded->setText(caption);
    project.insertItems({photo, crowded}, 1);

    TextPage textPage;
    textPage.resize(720, 760);
    textPage.setProject(&project);
    textPage.show();
    // The floating panel fades in and the checked swatches animate to their looks.
    const auto settled = [&textPage] {
        QDeadlineTimer deadline(600);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return renderWidget(&textPage, 1.0);
    };
    page.add(settled(), QStringLiteral("all-slides"), true);
    textPage.setItem(project.item(0));
    page.add(settled(), QStringLiteral("title-slide"), true);
    project.resolution = Resolution(320, 240);
    textPage.setItem(crowded);
    page.add(settled(), QStringLiteral("fit-warning"), true);
}
