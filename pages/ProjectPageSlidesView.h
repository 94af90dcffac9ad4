#pragma once

#include "pages/ProjectPage.h"
#include "uilib/style/CDrawable.h"

#include <QList>
#include <QStringList>
#include <QTableView>

#include <functional>

// The slide list: one row widget per slide in a one-column table. Rows are dragged to reorder
// the slides, image files and folders dropped from outside become photo slides, a marker shows
// where a drop lands, and a drag held against the top or bottom edge scrolls the list. The
// title slide in row 0 is never dragged and nothing lands above it.
class ProjectPage::SlidesView : public QTableView, public CDrawable
{
    Q_OBJECT

public:
    // Runs a drag of the given data and returns when it ends; tests replace it to run no
    // nested loop. An empty function puts back QDrag::exec.
    using DragRunner = std::function<void(SlidesView* view, QMimeData* data, Qt::DropActions actions)>;
    static void setDragRunner(DragRunner runner);
    // Puts the mouse cursor back during an edge scroll; tests record it instead.
    using CursorMover = std::function<void(const QPoint& globalPos)>;
    static void setCursorMover(CursorMover mover);

    explicit SlidesView(ProjectPage* page);
    ~SlidesView() override;

    void applyStyle() override;

    const QList<int>& draggedRows() const { return m_draggedRows; }
    const QStringList& droppedFiles() const { return m_droppedFiles; }
    int dropRow() const { return m_dropRow; }
    // The line the insertion marker is drawn along, in viewport coordinates; null without one.
    QLine dropMarkerLine() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    int dropRowAt(const QPoint& pos) const;
    void scrollAtEdge(const QPoint& pos);
    void endDrop();

    ProjectPage* m_page;
    QList<int> m_draggedRows;
    QStringList m_droppedFiles;
    int m_dropRow = -1;
    int m_lastDragY = 0;
};
