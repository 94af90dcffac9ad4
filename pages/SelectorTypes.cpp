#include "pages/SelectorTypes.h"

int transitionTypeId()
{
    static const int id = qRegisterMetaType<TransitionType>("TransitionType");
    return id;
}

int motionTypeId()
{
    static const int id = qRegisterMetaType<MotionType>("MotionType");
    return id;
}

int textPosTypeId()
{
    static const int id = qRegisterMetaType<TextInfo::Pos>("TextInfo::Pos");
    return id;
}

int fontSizeTypeId()
{
    static const int id = qRegisterMetaType<TextInfo::FontSize>("TextInfo::FontSize");
    return id;
}
