#include "uilib/style/CAnimationWheel.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QList>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <chrono>
#include <cmath>
#include <optional>

namespace {

constexpr int FrameRate = 120;
constexpr int DurationMs = 200;
constexpr int StepsPerWheelEvent = DurationMs * FrameRate / 1000;
constexpr int TickIntervalMs = 1000 / FrameRate;
constexpr double Acceleration = 2.5;
constexpr qint64 RecentWindowMs = 500;
constexpr double FullSpeedCount = 15.0;
constexpr qint64 LateTickMs = 32;
constexpr int MaxLateFactor = 16;
constexpr int NoTick = -1;

qint64 steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The share of one step of a wheel event's delta under the cosine profile: over
// all its steps the shares add up to delta, largest in the middle.
double cosineShare(double delta, int stepsLeft)
{
    const double half = StepsPerWheelEvent / 2.0;
    const double x = std::abs((StepsPerWheelEvent - stepsLeft) - half);
    return delta * (std::cos(x * M_PI / half) + 1.0) / (2.0 * half);
}

Qt::Orientation otherOrientation(Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? Qt::Vertical : Qt::Horizontal;
}

bool isUsable(const QScrollBar* bar)
{
    return bar && bar->maximum() > 0;
}

} // namespace

class CAnimationWheel::Private : public QObject
{
public:
    struct Pending
    {
        double delta;
        int stepsLeft;
    };
    struct LastWheel
    {
        QPointF position;
        QPointF globalPosition;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        Qt::Orientation orientation;
    };

    QWidget* viewport;
    QPointer<QScrollBar> horizontal;
    QPointer<QScrollBar> vertical;
    std::optional<LastWheel> lastWheel;
    QTimer timer;
    Clock clock = steadyMs;
    qint64 lastTickMs = NoTick;
    int stepsPerTick = 1;
    bool orientationSwapped = false;
    double stepRatio;
    QList<Pending> pending;
    QList<qint64> recentWheelMs;

    // The share of the wheel event that a new event adds: 1/15 alone, the full
    // acceleration with fifteen or more events within 500 ms.
    double weightOfNewEvent(qint64 now)
    {
        recentWheelMs.append(now);
        while (now - recentWheelMs.first() > RecentWindowMs)
            recentWheelMs.removeFirst();
        return qMin(recentWheelMs.size() / FullSpeedCount, 1.0);
    }

    // Late ticks catch up with more steps at once; more than one wheel event's
    // steps would add nothing.
    void updateStepsPerTick(qint64 now)
    {
        if (lastTickMs == NoTick) {
            stepsPerTick = 1;
            return;
        }
        const qint64 elapsed = now - lastTickMs;
        if (elapsed <= LateTickMs)
            return;
        const int factor = int(qMin<qint64>(elapsed / LateTickMs, MaxLateFactor)) * 4;
        stepsPerTick = qMin(stepsPerTick * factor, StepsPerWheelEvent);
    }

    double runSteps()
    {
        double total = 0.0;
        for (int i = 0; i < stepsPerTick; ++i) {
            for (Pending& entry : pending) {
                total += cosineShare(entry.delta, entry.stepsLeft);
                if (entry.stepsLeft > 0)
                    --entry.stepsLeft;
            }
        }
        while (!pending.isEmpty() && pending.first().stepsLeft == 0)
            pending.removeFirst();
        return total;
    }

    // The bar of the orientation when it has a range, else the other one.
    QScrollBar* targetBar(Qt::Orientation& orientation) const
    {
        QScrollBar* preferred = orientation == Qt::Horizontal ? horizontal : vertical;
        QScrollBar* other = orientation == Qt::Horizontal ? vertical : horizontal;
        if (isUsable(preferred))
            return preferred;
        if (!isUsable(other))
            return nullptr;
        orientation = otherOrientation(orientation);
        return other;
    }
};

CAnimationWheel::CAnimationWheel(QAbstractScrollArea* area)
    : CAnimationWheel(area->viewport(), area->horizontalScrollBar(), area->verticalScrollBar())
{
}

CAnimationWheel::CAnimationWheel(QWidget* viewport, QScrollBar* horizontal, QScrollBar* vertical)
    : QObject(viewport)
    , d(new Private)
{
    d->viewport = viewport;
    d->horizontal = horizontal;
    d->vertical = vertical;
    const int lines = QApplication::wheelScrollLines();
    d->stepRatio = lines > 0 ? 1.0 / lines : 0.0;
    viewport->installEventFilter(this);
    QObject::connect(&d->timer, &QTimer::timeout, d, [this] { tick(); });
}

CAnimationWheel::~CAnimationWheel()
{
    d->timer.stop();
    d->pending.clear();
    delete d;
}

void CAnimationWheel::setOrientationSwapped(bool swapped)
{
    d->orientationSwapped = swapped;
}

void CAnimationWheel::setClock(Clock clock)
{
    d->clock = std::move(clock);
}

bool CAnimationWheel::isRunning() const
{
    return d->timer.isActive();
}

bool CAnimationWheel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != d->viewport || event->type() != QEvent::Wheel)
        return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    const double weight = d->weightOfNewEvent(d->clock());
    const QPoint angle = wheel->angleDelta();
    const Qt::Orientation orientation = qAbs(angle.x()) > qAbs(angle.y()) ? Qt::Horizontal : Qt::Vertical;
    d->lastWheel = Private::LastWheel{wheel->position(), wheel->globalPosition(), wheel->buttons(),
                                      wheel->modifiers(), orientation};
    double delta = (orientation == Qt::Horizontal ? angle.x() : angle.y()) * d->stepRatio;
    delta += Acceleration * delta * weight;
    if (d->pending.isEmpty()) {
        d->lastTickMs = NoTick;
        d->stepsPerTick = 1;
    }
    d->pending.append({delta, StepsPerWheelEvent});
    d->timer.start(TickIntervalMs);
    wheel->accept();
    return true;
}

void CAnimationWheel::tick()
{
    if (!d->lastWheel) {
        d->pending.clear();
        d->timer.stop();
        return;
    }
    d->updateStepsPerTick(d->clock());
    const long step = std::lround(d->runSteps());
    const Private::LastWheel& last = *d->lastWheel;
    Qt::Orientation orientation = d->orientationSwapped ? otherOrientation(last.orientation) : last.orientation;
    if (QScrollBar* bar = d->targetBar(orientation)) {
        const QPoint angle = orientation == Qt::Horizontal ? QPoint(int(step), 0) : QPoint(0, int(step));
        QWheelEvent synthetic(last.position, last.globalPosition, QPoint(), angle, last.buttons, last.modifiers,
                              Qt::NoScrollPhase, false);
        const QPointer<QObject> alive(this);
        QCoreApplication::sendEvent(bar, &synthetic);
        if (!alive)
            return;
    }
    if (d->pending.isEmpty()) {
        d->timer.stop();
        d->lastTickMs = NoTick;
    } else {
        d->lastTickMs = d->clock();
    }
}
