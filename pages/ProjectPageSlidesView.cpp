#include "pages/ProjectPageSlidesView.h"

#include "app/DroppedFiles.h"
#include "model/ProjectFile.h"
#include "model/picture/ImageLoader.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/style/CAnimationWheel.h"
#include "uilib/style/CEventScroll.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/DrawPrimitives.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>

#include <algorithm>

namespace {

// Pointer rows of these heights at the top and bottom scroll the list during a drag.
constexpr int kEdgeZone = 20;
// Larger jumps are taken for a pointer that came in from elsewhere, not a push.
constexpr int kMaxPush = 29;

ProjectPage::SlidesView::DragRunner& dragRunner()
{
    static ProjectPage::SlidesView::DragRunner runner;
    return runner;
}

ProjectPage::SlidesView::CursorMover& cursorMover()
{
    static ProjectPage::SlidesView::CursorMover mover;
    return mover;
}

} // namespace

void ProjectPage::SlidesView::setDragRunner(DragRunner runner)
{
    dragRunner() = std::move(runner);
}

void ProjectPage::SlidesView::setCursorMover(CursorMover mover)
{
    cursorMover() = std::move(mover);
}

ProjectPage::SlidesView::SlidesView(ProjectPage* page)
    : QTableView(page)
    , CDrawable(39)
    , m_page(page)
{
    new CEventScroll(this);
    new CAnimationWheel(this);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setFrameStyle(0);
    setShowGrid(false);
    setDragEnabled(true);
    setDragDropMode(DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(ExtendedSelection);
    setSelectionBehavior(SelectRows);
    setDropIndicatorShown(false);
    (new CShadowInner(this, this))->setEdgeShadows(9, 42, 9);
    applyStyle();
}

ProjectPage::SlidesView::~SlidesView() = default;

void ProjectPage::SlidesView::applyStyle()
{
    setWidgetBackgroundColor(this, Qt::transparent);
    viewport()->update();
}

void ProjectPage::SlidesView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    // A taller view shows rows that have no widget yet.
    m_page->createVisibleRows();
}

void ProjectPage::SlidesView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Delete)) {
        m_page->removeSlides(nullptr);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ProjectPage::SlidesView::startDrag(Qt::DropActions supportedActions)
{
    QModelIndexList indexes = selectedIndexes();
    // The title slide never moves.
    indexes.removeAll(model()->index(0, 0));
    if (indexes.isEmpty())
        return;
    // A drop keeps the list order whatever order the rows were picked in.
    std::sort(indexes.begin(), indexes.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QMimeData* data = model()->mimeData(indexes);
    if (!data)
        return;
    m_draggedRows.clear();
    for (const QModelIndex& index : indexes)
        m_draggedRows.append(index.row());

    QPointer<SlidesView> self(this);
    if (dragRunner()) {
        dragRunner()(this, data, supportedActions);
    } else {
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(supportedActions, Qt::MoveAction);
    }
    if (self)
        m_draggedRows.clear();
}

void ProjectPage::SlidesView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_draggedRows.isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    m_droppedFiles = filesFromMimeData(event->mimeData(), supportedImageSuffixes());
    if (m_droppedFiles.isEmpty())
        return;
    // Files from outside are copied in, never taken from their place.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ProjectPage::SlidesView::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_draggedRows.isEmpty() && m_droppedFiles.isEmpty())
        return;
    m_dropRow = dropRowAt(event->pos());
    scrollAtEdge(event->pos());
    if (m_draggedRows.isEmpty())
        event->setDropAction(Qt::CopyAction);
    event->accept();
    viewport()->update();
}

void ProjectPage::SlidesView::dragLeaveEvent(QDragLeaveEvent*)
{
    endDrop();
}

void ProjectPage::SlidesView::dropEvent(QDropEvent* event)
{
    ProjectFile* project = m_page->project();
    if (m_dropRow != -1 && project) {
        if (!m_draggedRows.isEmpty()) {
            const QList<ProjectItem*> selected = m_page->selectedSlides(false, true);
            project->moveItems(m_draggedRows, m_dropRow);
            m_page->refreshSlideRows();
            m_page->selectSlides(selected);
            event->setDropAction(Qt::MoveAction);
        }
        if (!m_droppedFiles.isEmpty()) {
            m_page->addImageFiles(m_droppedFiles, m_dropRow);
            event->setDropAction(Qt::CopyAction);
        }
        event->accept();
    }
    endDrop();
}

void ProjectPage::SlidesView::endDrop()
{
    m_droppedFiles.clear();
    m_dropRow = -1;
    viewport()->update();
}

int ProjectPage::SlidesView::dropRowAt(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return model() ? model()->rowCount() : 0;
    int row = index.row();
    if (visualRect(index).center().y() < pos.y())
        ++row;
    // Nothing lands above the title slide.
    return std::max(row, 1);
}

void ProjectPage::SlidesView::scrollAtEdge(const QPoint& pos)
{
    const int y = pos.y();
    const int height = viewport()->height();
    const bool top = y < kEdgeZone;
    if (!top && y <= height - kEdgeZone)
        return;
    const int push = top ? m_lastDragY - y : y - m_lastDragY;
    m_lastDragY = y;
    if (push < 1 || push > kMaxPush || height <= 0)
        return;
    QScrollBar* bar = verticalScrollBar();
    const int step = std::max(1, (bar->maximum() - bar->minimum()) * push / height);
    bar->setValue(bar->value() + (top ? -step : step));
    // The pointer stays where it was while the list moves under it.
    const QPoint back = QCursor::pos() + QPoint(0, top ? push : -push);
    if (cursorMover())
        cursorMover()(back);
    else
        QCursor::setPos(back);
}

QLine ProjectPage::SlidesView::dropMarkerLine() const
{
    const int rows = model() ? model()->rowCount() : 0;
    if (m_dropRow < 0 || rows == 0)
        return QLine();
    if (m_dropRow >= rows) {
        const QRect last = visualRect(model()->index(rows - 1, 0));
        return QLine(last.left(), last.bottom(), last.right(), last.bottom());
    }
    const QRect rect = visualRect(model()->index(m_dropRow, 0));
    return QLine(rect.left(), rect.top(), rect.right(), rect.top());
}

void ProjectPage::SlidesView::paintEvent(QPaintEvent*)
{
    // Rows paint themselves; the view draws only the insertion marker.
    const QLine line = dropMarkerLine();
    if (line.isNull())
        return;
    CPainterScope scope(viewport());
    drawDropMarker(scope.painter(), QLineF(line), currentPalette()->color(0));
}
