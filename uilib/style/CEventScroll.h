#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QAbstractScrollArea;
class QWidget;

// Keeps the hover look of a scroll area's content right while the content moves
// under a resting pointer: after every scroll and layout change it sends Leave to the
// widgets the pointer has left and Enter to those it is now over, outermost first.
class CEventScroll : public QObject
{
public:
    explicit CEventScroll(QAbstractScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* contentWidget() const;
    QWidget* hoveredAt(const QPoint& globalPos) const;
    // The widget and its parents, innermost first, up to the content widget.
    QList<QWidget*> chainOf(QWidget* widget) const;
    void recheck();

    QPointer<QAbstractScrollArea> m_area;
    QPointer<QWidget> m_hovered;
    QTimer m_timer;
};
