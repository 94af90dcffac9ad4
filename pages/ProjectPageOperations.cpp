// The slide-list operations of the project page: the project's slide order is the truth, the
// model has one empty row per slide and each row shows a row widget rebound after every change.

#include "pages/ProjectPage.h"

#include "app/DroppedFiles.h"
#include "app/audio/AudioFilesController.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemSimple.h"
#include "model/ProjectItemTransition.h"
#include "model/SlideInterfaces.h"
#include "model/picture/ImageLoader.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesHeader.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/SlideRowWidget.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/controls/CButton.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kRowHeight = 73;
// Row widgets made past the last row in view, so that a page scrolled or a page not yet laid out
// has its next rows at hand.
constexpr int kRowsAhead = 32;

bool isTitleSlide(const ProjectItem* item)
{
    return dynamic_cast<const IStarterItem*>(item) != nullptr;
}

} // namespace

int ProjectPage::rowCount() const
{
    return m_view->model() ? m_view->model()->rowCount() : 0;
}

SlideRowWidget* ProjectPage::rowWidget(int row) const
{
    if (!m_view->model())
        return nullptr;
    return qobject_cast<SlideRowWidget*>(m_view->indexWidget(m_view->model()->index(row, 0)));
}

SlideRowWidget* ProjectPage::createRow(ProjectItem* item, int row)
{
    auto* widget = new SlideRowWidget(item, m_project->itemNumberText(item), isTitleSlide(item), m_view);
    widget->setColumnWidths(m_header->columnWidths());
    connect(widget, &SlideRowWidget::previewClicked, this, &ProjectPage::showSlidePreview);
    connect(widget, &SlideRowWidget::deleteClicked, this, &ProjectPage::removeSlides);
    connect(widget, &SlideRowWidget::transitionChanged, this, &ProjectPage::showSlidePreview);
    connect(widget, &SlideRowWidget::motionChanged, this, &ProjectPage::showSlidePreview);
    connect(widget, &SlideRowWidget::durationChanged, this, &ProjectPage::onSlideDurationChanged);
    connect(widget, &SlideRowWidget::applyDurationToAllClicked, this, &ProjectPage::applyDurationToAll);
    connect(widget, &SlideRowWidget::textClicked, this, &ProjectPage::editCaption);
    m_view->setIndexWidget(m_view->model()->index(row, 0), widget);
    return widget;
}

void ProjectPage::createVisibleRows()
{
    if (!m_project || !m_view->model())
        return;
    const int count = std::min(rowCount(), m_project->itemCount());
    const int first = std::max(m_view->rowAt(0), 0);
    const int last = std::min(count - 1, first + m_view->viewport()->height() / kRowHeight + kRowsAhead);
    QItemSelectionModel* selection = m_view->selectionModel();
    for (int row = first; row <= last; ++row) {
        if (rowWidget(row))
            continue;
        SlideRowWidget* widget = createRow(m_project->item(row), row);
        if (selection && selection->isRowSelected(row, QModelIndex()))
            widget->setChecked(true);
    }
}

void ProjectPage::scrollToSlide(ProjectItem* item)
{
    // Once the new rows are laid out; the slide may be gone by then.
    QTimer::singleShot(0, this, [this, slide = QPointer<ProjectItem>(item)] {
        if (!slide || !m_project)
            return;
        const int row = m_project->indexOf(slide);
        if (row >= 0 && row < rowCount())
            m_view->scrollTo(m_view->model()->index(row, 0), QAbstractItemView::EnsureVisible);
    });
}

void ProjectPage::addImageFiles(const QStringList& paths, int row)
{
    if (!m_project)
        return;
    // Folders are walked here, sub-folders included, each once.
    QStringList files;
    const QStringList suffixes = supportedImageSuffixes();
    for (const QString& path : paths)
        files += filesFromUrl(QUrl::fromLocalFile(path), suffixes);
    if (files.isEmpty()) {
        showNoImagesInFolder();
        return;
    }
    QList<ProjectItem*> items;
    for (const QString& file : files)
        m_project->collectImageItems(file, m_project->defaultTime_ms, m_project->defaultTransition, items);
    if (items.isEmpty()) {
        showNoImagesInFolder();
        return;
    }
    for (ProjectItem* item : items) {
        if (auto* photo = dynamic_cast<ProjectItemSimple*>(item))
            photo->setMotion(m_project->defaultMotion);
    }
    insertSlides(items, row);
    scrollToSlide(items.last());
}

void ProjectPage::addColorSlide(int backgroundIndex)
{
    if (!m_project)
        return;
    ProjectItem* item = ProjectFile::createColorItem(backgroundIndex, m_project->defaultTime_ms,
                                                     m_project->defaultTransition);
    insertSlides({item}, m_project->itemCount());
    scrollToSlide(item);
}

void ProjectPage::insertSlides(const QList<ProjectItem*>& items, int row)
{
    if (!m_project)
        return;
    m_project->insertItems(items, row);
    auto* model = static_cast<QStandardItemModel*>(m_view->model());
    model->setRowCount(m_project->itemCount());
    // The widgets keep their rows; the rebinding below puts every slide on its row.
    updateActionStates();
    refreshSlideRows();
}

void ProjectPage::rebuildSlideList()
{
    QAbstractItemModel* oldModel = m_view->model();
    QItemSelectionModel* oldSelection = m_view->selectionModel();
    const int count = m_project ? m_project->itemCount() : 0;
    m_view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_view->setModel(new QStandardItemModel(count, 1, m_view));
    delete oldSelection;
    delete oldModel;
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProjectPage::onSelectionChanged);
    createVisibleRows();
    m_view->clearSelection();
    onSelectionChanged(QItemSelection(), QItemSelection());
    updateActionStates();
    m_preview->updateDuration();
}

void ProjectPage::refreshSlideRows()
{
    if (!m_project)
        return;
    for (int row = 0; row < m_project->itemCount(); ++row) {
        if (SlideRowWidget* widget = rowWidget(row)) {
            ProjectItem* item = m_project->item(row);
            widget->setItem(item, m_project->itemNumberText(item));
        }
    }
    createVisibleRows();
    m_preview->updateDuration();
}

QList<ProjectItem*> ProjectPage::selectedSlides(bool descending, bool withoutTitle) const
{
    QList<ProjectItem*> slides;
    if (!m_project || !m_view->selectionModel())
        return slides;
    // Each selected row once.
    QList<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows(0))
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    if (descending)
        std::reverse(rows.begin(), rows.end());
    for (int row : rows) {
        ProjectItem* item = m_project->item(row);
        if (!item || (withoutTitle && isTitleSlide(item)))
            continue;
        slides.append(item);
    }
    return slides;
}

ProjectItem* ProjectPage::firstSelectedSlide() const
{
    return selectedSlides(false, false).value(0);
}

void ProjectPage::selectSlides(const QList<ProjectItem*>& items)
{
    if (items.isEmpty() || !m_project)
        return;
    m_view->clearFocus();
    m_view->selectionModel()->clearSelection();
    QList<int> rows;
    for (ProjectItem* item : items) {
        const int row = m_project->indexOf(item);
        if (row >= 0)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    for (int row : rows) {
        const QModelIndex index = m_view->model()->index(row, 0);
        selection.select(index, index);
    }
    m_view->selectionModel()->select(selection, QItemSelectionModel::Select);
}

void ProjectPage::removeSlides(ProjectItem* item)
{
    if (!m_project)
        return;
    if (m_preview->isActive())
        m_preview->stop();
    m_view->setUpdatesEnabled(false);
    QList<ProjectItem*> remembered = selectedSlides(false, false);
    QList<ProjectItem*> doomed;
    if (item) {
        doomed.append(item);
        remembered.removeAll(item);
    } else {
        doomed = remembered;
        remembered.clear();
    }
    // Cleared first: a selected row removed would move the selection, and the preview with it, to
    // the next selected slide once per row.
    m_view->selectionModel()->clearSelection();
    for (ProjectItem* slide : doomed) {
        const int row = m_project->indexOf(slide);
        if (row < 0 || isTitleSlide(slide))
            continue;
        if (slide == m_previewItem)
            m_preview->reset();
        m_view->model()->removeRow(row);
        m_project->removeItem(slide);
    }
    updateActionStates();
    refreshSlideRows();
    selectSlides(remembered);
    m_view->setUpdatesEnabled(true);
}

void ProjectPage::moveSelectedDown()
{
    const QList<ProjectItem*> slides = selectedSlides(true, true);
    if (slides.isEmpty())
        return;
    for (ProjectItem* slide : slides) {
        if (m_project->indexOf(slide) < m_project->itemCount() - 1)
            m_project->moveItemDown(slide);
    }
    showMovedSlides(slides);
}

void ProjectPage::moveSelectedUp()
{
    const QList<ProjectItem*> slides = selectedSlides(false, true);
    if (slides.isEmpty())
        return;
    // Nothing passes above the title slide.
    for (ProjectItem* slide : slides) {
        if (m_project->indexOf(slide) >= 2)
            m_project->moveItemUp(slide);
    }
    showMovedSlides(slides);
}

void ProjectPage::showMovedSlides(const QList<ProjectItem*>& slides)
{
    refreshSlideRows();
    selectSlides(slides);
    m_view->scrollTo(m_view->model()->index(m_project->indexOf(slides.first()), 0));
}

void ProjectPage::duplicateSelected()
{
    const QList<ProjectItem*> slides = selectedSlides(false, true);
    if (slides.isEmpty())
        return;
    int target = 0;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows(0))
        target = std::max(target, index.row() + 1);
    QList<ProjectItem*> clones;
    for (ProjectItem* slide : slides)
        clones.append(slide->clone());
    insertSlides(clones, target);
    selectSlides(clones);
    scrollToSlide(clones.last());
}

void ProjectPage::rotateSelected()
{
    const QList<ProjectItem*> slides = selectedSlides(false, true);
    if (slides.isEmpty())
        return;
    for (ProjectItem* slide : slides) {
        if (auto* photo = dynamic_cast<ProjectItemSimple*>(slide))
            photo->rotate();
    }
    refreshSlideRows();
    ProjectItem* first = slides.first();
    m_preview->showSlide(m_project->indexOf(first), m_project->itemNumberText(first), false, true);
}

void ProjectPage::shuffleSlides()
{
    if (!m_project)
        return;
    m_project->shuffleItems();
    refreshSlideRows();
}

void ProjectPage::sortSlidesByName(bool checked)
{
    if (!m_project)
        return;
    m_project->sortByName(checked);
    refreshSlideRows();
}

void ProjectPage::sortSlidesByDate(bool checked)
{
    if (!m_project)
        return;
    m_project->sortByDate(checked);
    refreshSlideRows();
}

void ProjectPage::clearSlideList()
{
    if (!m_project || !confirmClearProject())
        return;
    m_view->setUpdatesEnabled(false);
    m_view->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    m_project->clearSlides();
    rebuildSlideList();
    m_view->setUpdatesEnabled(true);
    m_preview->reset();
}

void ProjectPage::applyDurationToAll(int msec)
{
    if (!m_project)
        return;
    m_project->defaultTime_ms = msec;
    for (ProjectItem* item : m_project->items())
        item->setTime_ms(msec);
    refreshSlideRows();
}

void ProjectPage::applyTransitionToAll(int transition)
{
    if (!m_project)
        return;
    m_project->defaultTransition = transition;
    for (int index = 1; index < m_project->itemCount(); ++index) {
        if (auto* slide = dynamic_cast<ProjectItemTransition*>(m_project->item(index)))
            slide->transition = transition;
    }
    refreshSlideRows();
}

void ProjectPage::applyMotionToAll(int motion)
{
    if (!m_project)
        return;
    m_project->defaultMotion = motion;
    for (int index = 1; index < m_project->itemCount(); ++index) {
        if (auto* photo = dynamic_cast<ProjectItemSimple*>(m_project->item(index)))
            photo->setMotion(motion);
    }
    refreshSlideRows();
}

void ProjectPage::showSlidePreview(ProjectItem* item)
{
    if (!m_project || m_project->indexOf(item) < 0)
        return;
    const int index = m_project->indexOf(item);
    m_preview->audioFiles()->stop();
    m_preview->playPreview(index, m_project->itemNumberText(item), false);
    m_previewItem = item;
    m_view->selectRow(index);
}

void ProjectPage::onSlideDurationChanged(ProjectItem*)
{
    m_preview->stop();
    m_preview->updateDuration();
}

void ProjectPage::refreshSelectedPreview()
{
    ProjectItem* first = firstSelectedSlide();
    if (!first)
        return;
    refreshSlideRows();
    m_preview->showSlide(m_project->indexOf(first), m_project->itemNumberText(first), false, true);
}

void ProjectPage::updateActionStates()
{
    const int count = m_project ? m_project->itemCount() : 0;
    m_selectionActions->shuffleButton()->setEnabled(count > 2);
    m_selectionActions->sortByNameButton()->setEnabled(count > 2);
    m_selectionActions->sortByDateButton()->setEnabled(count > 2);
    m_forAll->updateClearButton(count);
    updateComposeButton();
}

void ProjectPage::onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    for (const QModelIndex& index : selected.indexes()) {
        if (SlideRowWidget* widget = rowWidget(index.row()))
            widget->setCheckedAndEmit(true);
    }
    for (const QModelIndex& index : deselected.indexes()) {
        if (SlideRowWidget* widget = rowWidget(index.row()))
            widget->setCheckedAndEmit(false);
    }

    bool up = false;
    bool down = false;
    bool rotate = false;
    bool duplicate = false;
    const int count = m_project ? m_project->itemCount() : 0;
    const QModelIndexList rows = m_view->selectionModel() ? m_view->selectionModel()->selectedRows(0)
                                                          : QModelIndexList();
    for (const QModelIndex& index : rows) {
        ProjectItem* item = m_project ? m_project->item(index.row()) : nullptr;
        if (!item || isTitleSlide(item))
            continue;
        duplicate = true;
        up = up || index.row() != 1;
        down = down || index.row() != count - 1;
        rotate = rotate || dynamic_cast<ProjectItemSimple*>(item) != nullptr;
    }
    m_selectionActions->upButton()->setEnabled(up);
    m_selectionActions->downButton()->setEnabled(down);
    m_selectionActions->duplicateButton()->setEnabled(duplicate);
    m_selectionActions->rotateButton()->setEnabled(rotate);

    // The first selected slide, as its row shows it checked.
    if (ProjectItem* first = firstSelectedSlide()) {
        m_preview->showSlide(m_project->indexOf(first), m_project->itemNumberText(first), false, false);
        return;
    }
    m_preview->reset();
}
