#pragma once

#include "model/MotionType.h"
#include "model/SlideText.h"
#include "model/transition/TransitionType.h"

#include <QMetaType>

Q_DECLARE_METATYPE(TransitionType)
Q_DECLARE_METATYPE(MotionType)
Q_DECLARE_METATYPE(TextInfo::Pos)
Q_DECLARE_METATYPE(TextInfo::FontSize)

// The metatype ids under the names "TransitionType", "MotionType", "TextInfo::Pos" and
// "TextInfo::FontSize", registered on the first call.
int transitionTypeId();
int motionTypeId();
int textPosTypeId();
int fontSizeTypeId();

// A value held as another type (a plain int) converted to the enumeration; 0 when it does not
// convert.
template <class Enum>
Enum enumFromVariant(const QVariant& value)
{
    QVariant copy = value;
    if (!copy.convert(qMetaTypeId<Enum>()))
        return Enum(0);
    return copy.value<Enum>();
}
