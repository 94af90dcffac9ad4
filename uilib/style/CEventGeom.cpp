#include "uilib/style/CEventGeom.h"

#include <QEvent>

CEventGeom::CEventGeom(QWidget* widget, int mode)
    : QObject(widget)
    , m_mode(mode)
    , m_widget(widget)
{
    if (widget) {
        widget->installEventFilter(this);
        m_visible = widget->isVisible();
        m_parent = widget->parentWidget();
        updateWindowFilter();
    }
}

void CEventGeom::updateWindowFilter()
{
    QWidget* window = m_mode == 0 ? nullptr : m_widget->window();
    if (window == m_widget)
        window = nullptr;
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window)
        window->installEventFilter(this);
}

void CEventGeom::checkParent()
{
    QWidget* parent = m_widget->parentWidget();
    if (parent == m_parent)
        return;
    m_parent = parent;
    emit parentWidgetChanged(parent);
}

void CEventGeom::checkVisibility()
{
    const bool visible = m_widget->isVisible();
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit visibilityChanged(visible);
}

void CEventGeom::checkGeometry()
{
    const QRect local(QPoint(0, 0), m_widget->size());
    switch (m_mode) {
    case 0:
        if (m_widget->geometry() != m_parentGeometry) {
            m_parentGeometry = m_widget->geometry();
            emit geometryChanged(m_parentGeometry);
        }
        break;
    case 1: {
        const QRect rect = m_widget->isWindow() ? local : local.translated(m_widget->mapTo(m_widget->window(), QPoint(0, 0)));
        if (rect != m_windowGeometry) {
            m_windowGeometry = rect;
            emit windowGeometryChanged(rect);
        }
        break;
    }
    case 2: {
        const QRect rect = m_widget->isWindow() ? m_widget->geometry() : local.translated(m_widget->mapToGlobal(QPoint(0, 0)));
        if (rect != m_screenGeometry) {
            m_screenGeometry = rect;
            emit screenGeometryChanged(rect);
        }
        break;
    }
    default:
        break;
    }
}

bool CEventGeom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget && watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::WindowStateChange:
        if (watched == m_window)
            checkGeometry();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        checkGeometry();
        break;
    case QEvent::Show:
    case QEvent::ShowToParent:
        checkVisibility();
        checkGeometry();
        break;
    case QEvent::Hide:
        checkVisibility();
        break;
    case QEvent::ParentChange:
    case QEvent::WinIdChange:
        checkParent();
        updateWindowFilter();
        checkVisibility();
        checkGeometry();
        break;
    default:
        break;
    }
    return false;
}
