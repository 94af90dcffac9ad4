#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

class QLayout;
class QMimeData;
class QWidget;

// Reorders the row widgets of one row layout with the mouse (local move) and lets outside
// data be dropped between the rows (external drop). A caller-supplied drop indicator,
// made a child of the layout's widget, shows where the row or the data would land.
// Nothing is handled unless a layout and an indicator are both set. It never touches a model.
//
// Positions in widgetMoved and dropped are the place the row or the data takes in the list
// after the move or drop: widgetMoved(w, 1, 3) leaves w as the fourth row.
class CDragDrop : public QObject
{
    Q_OBJECT
public:
    using MimeDataFilter = std::function<bool(const QMimeData*)>;

    explicit CDragDrop(QObject* parent = nullptr);
    ~CDragDrop() override;

    void setLayout(QLayout* layout);
    QLayout* layout() const;
    void setLocalMoveEnabled(bool enabled);
    bool isLocalMoveEnabled() const;
    void setExternalDropEnabled(bool enabled);
    bool isExternalDropEnabled() const;
    // Decides whether outside data may be dropped; without one every drag is taken.
    void setMimeDataFilter(const MimeDataFilter& filter);
    // The indicator keeps the size limits it has now for external drops; a local move
    // gives it the size of the picked-up row.
    void setDropIndicator(QWidget* indicator);
    QWidget* dropIndicator() const;
    bool isDropAllowed() const;

signals:
    void localMoveEnabledChanged(bool value);
    void externalDropEnabledChanged(bool value);
    void dragStarted(QWidget* w, QPoint hotPoint);
    void dragCursorMoved(QPoint globalCursorPos);
    void dropAllowedChanged(bool canDrop);
    void dragStopped();
    void dropIndicatorVisibilityChanged(bool visible);
    void dropIndicatorGeometryChanged(QRect geometry);
    void widgetMoved(QWidget* clipWidget, int oldIndex, int newIndex);
    void dropped(const QMimeData* mimeData, Qt::DropAction action, int row);

private:
    class Private;
    Private* d;
};
