#pragma once

#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class CAnimateionProp;
class CEventMouse;

// A floating picture of the row being dragged that follows the pointer: it shrinks a little
// when the drag starts and darkens while a drop is not allowed. It never takes the pointer
// or the focus.
class DragIcon : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double dropAllowedProgress READ dropAllowedProgress WRITE setDropAllowedProgress)
    Q_PROPERTY(double scale READ scale WRITE setScale)
public:
    explicit DragIcon(QWidget* parent = nullptr);
    ~DragIcon() override;

    // Shows a picture of `row` under the pointer, held at `hotSpot` (row coordinates).
    void showFor(QWidget* row, const QPoint& hotSpot);
    void setDropAllowed(bool allowed);
    void hideIcon();

    // 0 drop allowed, 1 not allowed.
    double dropAllowedProgress() const { return m_dropAllowedProgress; }
    void setDropAllowedProgress(double progress);
    double scale() const { return m_scale; }
    void setScale(double scale);

    CAnimateionProp* animator() const { return m_animator; }
    // Where the pointer sits on the icon at the current scale.
    QPoint pointerOffset() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void placeAt(const QPoint& globalPointer);
    void placeAtDevicePoint(const QPoint& deviceGlobal);

    QPixmap m_pixmap;
    bool m_dropAllowed = false;
    double m_dropAllowedProgress = 0.0;
    QPoint m_hotSpot;
    double m_scale = 1.0;
    QPoint m_pointer;
    QPointer<CEventMouse> m_mouse;
    CAnimateionProp* m_animator;
};
