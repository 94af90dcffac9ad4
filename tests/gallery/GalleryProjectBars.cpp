// The parts around the slide list of the project page under the application's look: the column
// header; the bar of actions for all slides, closed and with its time list open; the column of
// selection actions with one slide selected; the video settings with and without scaling; the
// output name row, closed and with its format list open.

#include "Gallery.h"
#include "GalleryTyStyle.h"

#include "app/HistoryModel.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageOutFileName.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesHeader.h"
#include "pages/ProjectPageVideoSettingsBox.h"
#include "pages/TimeSelector.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CStyle.h"

#include <QScreen>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int kMargin = 12;
constexpr int kScreenBottomGap = 60;

// A page shown at 1280 x 800 with a project of the title slide and five colour slides.
struct BarsPage
{
    BarsPage()
    {
        useTyStyle();
        ProjectPage::setMessages({[] { return false; }, [] {}, [](const QStringList&) {}, [](const QString&) {}});
        page = std::make_unique<ProjectPage>(&history, folder.path(), nullptr);
        page->setGeometry(100, 100, 1280, 800);
        project = std::make_unique<ProjectFile>(3000);
        QList<ProjectItem*> slides;
        for (int i = 0; i < 5; ++i)
            slides.append(ProjectFile::createColorItem(i % 4, 2000 + 1000 * i, TransitionCrossfade));
        project->insertItems(slides, -1);
        project->name = QStringLiteral("Прогулка по парку");
        project->file_name = folder.filePath(QStringLiteral("Прогулка по парку.mp4"));
        project->format = QStringLiteral("mp4");
        page->setProject(project.get(), false);
        page->updateTexts();
        showExposed(page.get());
        settle();
    }
    ~BarsPage()
    {
        closeAllPopups();
        ProjectPage::setMessages({});
    }

    // Posted events, then every state animation run to its end.
    void settle()
    {
        settleGallery();
        animations.advance(2000);
        settleGallery();
    }

    // The part of the page inside the rectangle (page coordinates), with a margin.
    QImage part(const QRect& rect) const
    {
        const QRect area = rect.adjusted(-kMargin, -kMargin, kMargin, kMargin) & page->rect();
        return renderWidget(page.get(), 1.0, currentPalette()->color(2)).copy(area);
    }
    QImage part(const QWidget* widget) const { return part(QRect(widget->mapTo(page.get(), QPoint()), widget->size())); }
    // The offscreen screen is smaller than the page: the page moves so that the widget sits near
    // the screen's bottom middle, where a popup opening above it has the room a real screen gives.
    void bringNearScreenBottom(const QWidget* widget)
    {
        const QRect screen = widget->screen()->geometry();
        const QPoint target(screen.center().x(), screen.bottom() - kScreenBottomGap);
        page->move(page->pos() + target - widget->mapToGlobal(widget->rect().center()));
        settle();
    }
    // The page and an open popup, cut to the widget and the popup.
    QImage withPopup(const QWidget* widget, QWidget* popup)
    {
        settle();
        const QImage whole = compositeWindows({page.get(), popup}, currentPalette()->color(2));
        const QRect area = page->geometry() | popup->geometry();
        const QRect shown = QRect(widget->mapToGlobal(QPoint()), widget->size()) | popup->geometry();
        return whole.copy(shown.adjusted(-kMargin, -kMargin, kMargin, kMargin).translated(-area.topLeft()));
    }

    ManualAnimationClock animations;
    QTemporaryDir folder;
    HistoryModel history;
    std::unique_ptr<ProjectFile> project;
    std::unique_ptr<ProjectPage> page;
};

} // namespace

TY_GALLERY_ENTRY("project-header")
{
    BarsPage bars;
    page.add(bars.part(bars.page->slidesHeader()), QString(), true);
}

TY_GALLERY_ENTRY("project-for-all")
{
    BarsPage bars;
    ProjectPage::ForAllActions* forAll = bars.page->forAllActions();
    page.add(bars.part(forAll), QStringLiteral("closed"), true);
    TimeSelector* time = forAll->timeSelector();
    bars.bringNearScreenBottom(time);
    time->setCheckedAndEmit(true);
    bars.settle();
    if (time->popup())
        page.add(bars.withPopup(forAll, time->popup()), QStringLiteral("time-open"), true);
}

TY_GALLERY_ENTRY("project-selection-actions")
{
    BarsPage bars;
    bars.page->selectSlides({bars.project->item(2)});
    bars.settle();
    ProjectPage::SelectionActions* actions = bars.page->selectionActions();
    page.add(bars.part(actions->geometry()), QString(), true);
}

TY_GALLERY_ENTRY("project-video-settings")
{
    BarsPage bars;
    ProjectPage::VideoSettingsBox* box = bars.page->videoSettingsBox();
    CButton* scale = box->scaleRow()->control();
    scale->setCheckedAndEmit(true);
    bars.settle();
    page.add(bars.part(box), QStringLiteral("scale-on"), true);

    scale->setCheckedAndEmit(false);
    bars.settle();
    page.add(bars.part(box), QStringLiteral("scale-off"), true);
}

TY_GALLERY_ENTRY("project-output-name")
{
    BarsPage bars;
    ProjectPage::OutFileName* row = bars.page->outFileName();
    page.add(bars.part(row->geometry()), QStringLiteral("closed"), true);
    CComboBase* combo = row->formatCombo();
    bars.bringNearScreenBottom(combo);
    combo->showPopup();
    bars.settle();
    page.add(bars.withPopup(row->nameEdit(), combo->popup()), QStringLiteral("format-open"), true);
}
