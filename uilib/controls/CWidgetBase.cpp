#include "uilib/controls/CWidgetBase.h"

#include <QFocusEvent>
#include <QMoveEvent>

CWidgetBase::CWidgetBase(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
}

CWidgetBase::~CWidgetBase() = default;

bool CWidgetBase::event(QEvent* event)
{
    const bool result = QWidget::event(event);
    switch (event->type()) {
    case QEvent::FocusIn:
        emit focused(static_cast<QFocusEvent*>(event)->reason());
        break;
    case QEvent::FocusOut:
        emit focusLost();
        break;
    case QEvent::ShowToParent:
        emit visibilityToParentChanged(true);
        emit showedToParent();
        break;
    case QEvent::HideToParent:
        emit visibilityToParentChanged(false);
        emit hidedToParent();
        break;
    case QEvent::EnabledChange:
        emit enabledChanged(isEnabled());
        break;
    default:
        break;
    }
    return result;
}

void CWidgetBase::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit moved(event->pos());
    emit geometryChanged(geometry());
}

void CWidgetBase::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit resized(size());
    emit geometryChanged(geometry());
}

void CWidgetBase::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit visibilityChanged(true);
    emit showed();
}

void CWidgetBase::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
    emit hided();
}
