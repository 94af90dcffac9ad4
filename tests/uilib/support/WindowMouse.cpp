#include "support/WindowMouse.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

// Qt's own entry of window-system mouse events, the one QTest uses.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

void windowMouse(QWindow* window, QEvent::Type type, const QPoint& global, Qt::MouseButton button)
{
    static int timestamp = 0;
    // Far apart, so no two presses count as a double click.
    timestamp += 10000;
    QCursor::setPos(global);
    // The cursor's own enter and move events come first.
    QCoreApplication::processEvents();
    Qt::MouseButtons held = QGuiApplication::mouseButtons();
    held.setFlag(button, type == QEvent::MouseButtonPress);
    qt_handleMouseEvent(window, window->mapFromGlobal(global), global, held, button, type, Qt::NoModifier,
                        timestamp);
}

void windowClick(QWindow* window, const QPoint& global)
{
    windowMouse(window, QEvent::MouseButtonPress, global);
    windowMouse(window, QEvent::MouseButtonRelease, global);
}

void popupMouse(QEvent::Type type, const QPoint& global, Qt::MouseButton button)
{
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    windowMouse(popup->windowHandle(), type, global, button);
}

void popupClick(const QPoint& global)
{
    popupMouse(QEvent::MouseButtonPress, global);
    popupMouse(QEvent::MouseButtonRelease, global);
}

QPoint globalCentre(const QWidget* widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

void sendEnter(QWidget* widget)
{
    const QPoint inside = widget->rect().center();
    QEnterEvent event(inside, inside, widget->mapToGlobal(inside));
    QCoreApplication::sendEvent(widget, &event);
}

void sendClick(QWidget* widget)
{
    sendEnter(widget);
    const QPoint inside = widget->rect().center();
    const QPoint global = widget->mapToGlobal(inside);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, inside, global, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}
