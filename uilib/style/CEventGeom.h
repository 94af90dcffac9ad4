#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

// Reports changes of a widget's visibility, parent and geometry. The mode picks the
// geometry: 0 in the parent, 1 in the window, 2 on the screen; in modes 1 and 2 the
// window is watched too. The first geometry check always reports.
class CEventGeom : public QObject
{
    Q_OBJECT

public:
    CEventGeom(QWidget* widget, int mode);

signals:
    void visibilityChanged(bool value);
    void geometryChanged(QRect value);
    void windowGeometryChanged(QRect value);
    void screenGeometryChanged(QRect value);
    void parentWidgetChanged(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateWindowFilter();
    void checkParent();
    void checkVisibility();
    void checkGeometry();

    int m_mode;
    QWidget* m_widget;
    QPointer<QWidget> m_window;
    QWidget* m_parent = nullptr;
    bool m_visible = false;
    QRect m_parentGeometry;
    QRect m_windowGeometry;
    QRect m_screenGeometry;
};
