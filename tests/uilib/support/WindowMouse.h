#pragma once

#include <QEvent>
#include <QPoint>

class QWidget;
class QWindow;

// Mouse events as the window system delivers them: the cursor moves to the global point (its own
// events handled first), the application's button state follows, and the window gets the event,
// with nothing else handled until it returns. Presses never pair into double clicks. A test
// releases what it presses, or later hover checks see a held button.
void windowMouse(QWindow* window, QEvent::Type type, const QPoint& global, Qt::MouseButton button = Qt::LeftButton);
void windowClick(QWindow* window, const QPoint& global);
// The same for the window of the popup that is open now, which gets every event under its grab.
void popupMouse(QEvent::Type type, const QPoint& global, Qt::MouseButton button = Qt::LeftButton);
void popupClick(const QPoint& global);
// The centre of the widget in global coordinates.
QPoint globalCentre(const QWidget* widget);
// An enter event at the widget's centre.
void sendEnter(QWidget* widget);
// Enter, left press and release at the widget's centre, given to the widget itself (wherever it
// stands, even beyond the screen's edge).
void sendClick(QWidget* widget);
