#pragma once

#include "uilib/style/AnimationParams.h"

#include <QByteArray>
#include <QEasingCurve>
#include <QMap>
#include <QMetaType>
#include <QObject>

class QPropertyAnimation;

// Animates named double-like properties of one target: one property animation per name, with
// its own curve and duration on the way forward (state on, towards the end value) and back
// (state off). A flip in mid-run continues from the current value.
class CAnimateionProp : public QObject
{
public:
    // The position a property is driven to: its start value (off) or its end value (on).
    enum Pos { Start = 0, End = 1 };

    explicit CAnimateionProp(QObject* parent);

    // Creates the property's animation, or updates it when the parameters changed. A property the
    // target cannot read gets none.
    void setAnimation(QObject* target, const char* property, const AnimationParams& params);
    // A property without an animation is ignored.
    void setState(const char* property, bool on, bool animated);

    bool hasAnimation(const char* property) const;
    bool isRunning(const char* property) const;
    Pos position(const char* property) const;
    QPropertyAnimation* animation(const char* property) const;

private:
    struct Record
    {
        QPropertyAnimation* animation = nullptr;
        bool state = false;
        AnimationParams params;
    };

    void applyState(Record& record, bool on, bool animated);
    void flipDirection(Record& record, bool wasOn, bool on);

    QMap<QByteArray, Record> m_records;
};

Q_DECLARE_METATYPE(CAnimateionProp::Pos)
