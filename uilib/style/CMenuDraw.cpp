#include "uilib/style/CMenuDraw.h"

#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QChildEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>

CMenuDraw::CMenuDraw(QObject* target, int menuKind)
    : QObject(target), m_menuKind(menuKind)
{
    if (target)
        target->installEventFilter(this);
}

bool CMenuDraw::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ChildAdded)
        return QObject::eventFilter(watched, event);
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (auto* widget = qobject_cast<QWidget*>(child)) {
        if (!widget->windowFlags().testFlag(Qt::NoDropShadowWindowHint))
            widget->setWindowFlags(widget->windowFlags() | Qt::NoDropShadowWindowHint);
    }
    const QPointer<QObject> guarded = child;
    const int kind = m_menuKind;
    QTimer::singleShot(0, [guarded, kind] {
        if (auto* menu = qobject_cast<QMenu*>(guarded.data()))
            currentPalette()->styleMenu(menu, kind);
    });
    return false;
}
