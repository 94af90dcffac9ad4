#pragma once

#include <QEasingCurve>
#include <QMetaType>
#include <QVariant>

// How a property animates: forward runs towards the end value, backward towards the start value.
struct AnimationParams
{
    QEasingCurve::Type forwardCurve = QEasingCurve::Linear;
    int forwardDuration = 0;
    QEasingCurve::Type backwardCurve = QEasingCurve::Linear;
    int backwardDuration = 0;
    QVariant startValue;
    QVariant endValue;
};

Q_DECLARE_METATYPE(AnimationParams)
