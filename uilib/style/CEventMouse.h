#pragma once

#include <QObject>
#include <QPoint>

// Reports every mouse move and left, right or middle press of the GUI thread over
// any of its windows, non-client parts included, in global device pixels. All
// instances share one application event filter that looks at window-level events
// only; it is installed with the first instance and removed with the last.
class CEventMouse : public QObject
{
    Q_OBJECT

public:
    explicit CEventMouse(QObject* parent = nullptr);
    ~CEventMouse() override;

signals:
    void mouseMoved(QPoint rawGlobal1xPos);
    void mousePressed(QPoint rawGlobal1xPos, Qt::MouseButton button);
};
