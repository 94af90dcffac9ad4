#pragma once

#include <QObject>

#include <functional>

class QAbstractScrollArea;
class QScrollBar;
class QWidget;

// Smooth wheel scrolling: catches the wheel events of a viewport, spreads each one
// over 200 ms with a cosine speed profile, speeds up when the wheel turns fast, and
// delivers the small steps as wheel events to the scroll bar of the right orientation.
class CAnimationWheel : public QObject
{
public:
    // Milliseconds of a steady clock.
    using Clock = std::function<qint64()>;

    explicit CAnimationWheel(QAbstractScrollArea* area);
    CAnimationWheel(QWidget* viewport, QScrollBar* horizontal, QScrollBar* vertical);
    ~CAnimationWheel() override;

    // A vertical wheel scrolls horizontally and the other way round.
    void setOrientationSwapped(bool swapped);

    // For tests: the clock of the 500 ms window and of late ticks; one tick run at once.
    void setClock(Clock clock);
    void tick();
    bool isRunning() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Private;
    Private* d;
};
