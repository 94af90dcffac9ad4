#include "uilib/style/CAnimateionProp.h"

#include <QMetaProperty>
#include <QPropertyAnimation>

#include <cmath>

namespace {

bool sameParams(const AnimationParams& a, const AnimationParams& b)
{
    return a.forwardCurve == b.forwardCurve && a.forwardDuration == b.forwardDuration
        && a.backwardCurve == b.backwardCurve && a.backwardDuration == b.backwardDuration
        && a.startValue == b.startValue && a.endValue == b.endValue;
}

// Curves that are not monotonic: their progress is not searched for a value.
bool isMonotonic(QEasingCurve::Type type)
{
    return type < QEasingCurve::InElastic || type > QEasingCurve::TCBSpline;
}

// The progress at which `curve` gives `value` (0..1), found by six halvings.
double progressForValue(const QEasingCurve& curve, double value)
{
    if (!isMonotonic(curve.type()))
        return value;
    double p = value;
    double lo = 0.0;
    double hi = 1.0;
    for (int step = 0; step < 6; ++step) {
        const double at = curve.valueForProgress(p);
        if (at < value)
            lo = p;
        else if (at > value)
            hi = p;
        else
            break;
        p = (lo + hi) / 2.0;
    }
    return p;
}

void applyPair(QPropertyAnimation* animation, const AnimationParams& params, bool on)
{
    animation->setEasingCurve(on ? params.forwardCurve : params.backwardCurve);
    animation->setDuration(qMax(0, on ? params.forwardDuration : params.backwardDuration));
}

} // namespace

CAnimateionProp::CAnimateionProp(QObject* parent)
    : QObject(parent)
{
}

void CAnimateionProp::setAnimation(QObject* target, const char* property, const AnimationParams& params)
{
    const QByteArray name(property);
    auto found = m_records.find(name);
    if (found != m_records.end()) {
        Record& record = found.value();
        if (sameParams(record.params, params))
            return;
        record.params = params;
        applyPair(record.animation, params, record.state);
        record.animation->setStartValue(params.startValue);
        record.animation->setEndValue(params.endValue);
        applyState(record, record.state, false);
        return;
    }
    if (!target)
        return;
    const QMetaObject* meta = target->metaObject();
    const int index = meta->indexOfProperty(property);
    if (index < 0 || !meta->property(index).isReadable())
        return;
    Record record;
    record.params = params;
    record.animation = new QPropertyAnimation(target, name, this);
    applyPair(record.animation, params, true);
    record.animation->setDirection(QAbstractAnimation::Forward);
    record.animation->setStartValue(params.startValue);
    record.animation->setEndValue(params.endValue);
    m_records.insert(name, record);
    meta->property(index).write(target, params.startValue);
}

void CAnimateionProp::setState(const char* property, bool on, bool animated)
{
    auto found = m_records.find(QByteArray(property));
    if (found != m_records.end())
        applyState(found.value(), on, animated);
}

void CAnimateionProp::applyState(Record& record, bool on, bool animated)
{
    QPropertyAnimation* animation = record.animation;
    const bool wasOn = record.state;
    record.state = on;
    const auto wanted = on ? QAbstractAnimation::Forward : QAbstractAnimation::Backward;
    if (animation->state() == QAbstractAnimation::Running) {
        if (animated && animation->direction() == wanted)
            return;
        animation->pause();
    }
    if (animation->direction() != wanted)
        flipDirection(record, wasOn, on);
    const int targetTime = on ? animation->duration() : 0;
    // With no duration the time never moves, yet the value must still follow the state.
    if (animation->currentTime() == targetTime && animation->duration() > 0)
        return;
    if (animated && animation->duration() > 0) {
        if (animation->state() == QAbstractAnimation::Paused)
            animation->resume();
        else
            animation->start(QAbstractAnimation::KeepWhenStopped);
        return;
    }
    animation->setCurrentTime(targetTime);
    QObject* target = animation->targetObject();
    if (!target)
        return;
    const QMetaObject* meta = target->metaObject();
    meta->property(meta->indexOfProperty(animation->propertyName()))
        .write(target, on ? record.params.endValue : record.params.startValue);
}

// Switches to the other direction's curve and duration at the time where the new curve gives
// the value the old one had, so the property does not jump. Without a duration on either side
// there is no time to map: the value stands where the previous state put it.
void CAnimateionProp::flipDirection(Record& record, bool wasOn, bool on)
{
    QPropertyAnimation* animation = record.animation;
    const int oldTime = animation->currentTime();
    const int oldDuration = animation->duration();
    const QEasingCurve oldCurve = animation->easingCurve();
    // A stopped animation moves its time to its new end here; the old time still counts.
    animation->setDirection(on ? QAbstractAnimation::Forward : QAbstractAnimation::Backward);
    applyPair(animation, record.params, on);
    const int duration = animation->duration();
    int time = wasOn ? duration : 0;
    if (oldDuration > 0 && duration > 0) {
        const double value = qBound(0.0, oldCurve.valueForProgress(double(oldTime) / oldDuration), 1.0);
        time = int(std::lround(duration * progressForValue(animation->easingCurve(), value)));
    }
    if (time != animation->currentTime())
        animation->setCurrentTime(time);
}

bool CAnimateionProp::hasAnimation(const char* property) const
{
    return m_records.contains(QByteArray(property));
}

bool CAnimateionProp::isRunning(const char* property) const
{
    const QPropertyAnimation* running = animation(property);
    return running && running->state() == QAbstractAnimation::Running;
}

CAnimateionProp::Pos CAnimateionProp::position(const char* property) const
{
    const auto found = m_records.constFind(QByteArray(property));
    return found != m_records.constEnd() && found->state ? End : Start;
}

QPropertyAnimation* CAnimateionProp::animation(const char* property) const
{
    const auto found = m_records.constFind(QByteArray(property));
    return found != m_records.constEnd() ? found->animation : nullptr;
}
