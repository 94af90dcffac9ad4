#include "pages/EffectNames.h"

#include "pages/InterfaceText.h"

#include <iterator>

namespace {

// By transition value.
constexpr const char* kTransitionIcons[] = {
    ":/transition-none.svg",
    ":/transition-random.svg",
    ":/transition-pixelate.svg",
    ":/transition-mosaicspiralin.svg",
    ":/transition-mosaicspiralout.svg",
    ":/transition-mosaicstripes.svg",
    ":/transition-mosaicwall.svg",
    ":/transition-checkerboard.svg",
    ":/transition-rotateout.svg",
    ":/transition-rotatein.svg",
    ":/transition-flipover.svg",
    ":/transition-wipelefttoright.svg",
    ":/transition-wiperighttoleft.svg",
    ":/transition-wipetoptobottom.svg",
    ":/transition-wipebottomtotop.svg",
    ":/transition-wipeverticalin.svg",
    ":/transition-wipeverticalout.svg",
    ":/transition-stretchhorizontal.svg",
    ":/transition-stretchvertical.svg",
    ":/transition-zoomin.svg",
    ":/transition-zoomout.svg",
    ":/transition-slidefrombottom.svg",
    ":/transition-slidefromleft.svg",
    ":/transition-slidefromright.svg",
    ":/transition-slidefromtop.svg",
    ":/transition-slidefromtopleft.svg",
    ":/transition-fadetoblack.svg",
    ":/transition-crossfade.svg",
    ":/transition-fadetowhite.svg",
};
constexpr int kTransitionCount = int(std::size(kTransitionIcons));
constexpr int kFirstTransitionText = 144;

// By motion value. The motion enumerators name the edge the crop is held at, so the
// picture grows or shrinks on the other side: 7 and 10 show "left", 8 and 11 "right".
constexpr const char* kMotionIcons[] = {
    ":/motion-none.svg",
    ":/motion-random.svg",
    ":/motion-move-left.svg",
    ":/motion-move-right.svg",
    ":/motion-move-up.svg",
    ":/motion-move-down.svg",
    ":/motion-zoom-in-center.svg",
    ":/motion-zoom-in-left.svg",
    ":/motion-zoom-in-right.svg",
    ":/motion-zoom-out-center.svg",
    ":/motion-zoom-out-left.svg",
    ":/motion-zoom-out-right.svg",
};
constexpr int kMotionCount = int(std::size(kMotionIcons));
constexpr int kFirstMotionText = 30;

bool inRange(int type, int count)
{
    return unsigned(type) < unsigned(count);
}

QString iconOf(const char* const* icons, int count, int type)
{
    return inRange(type, count) ? QString::fromLatin1(icons[type]) : QString();
}

// The name texts run from firstText in value order; the one after the last is "unknown".
QString nameOf(int firstText, int count, int type)
{
    return interfaceText(firstText + (inRange(type, count) ? type : count));
}

QStringList namesOf(int firstText, int count)
{
    QStringList names;
    for (int type = 0; type < count; ++type)
        names.append(interfaceText(firstText + type));
    return names;
}

} // namespace

QString transitionIcon(int type)
{
    return iconOf(kTransitionIcons, kTransitionCount, type);
}

QString transitionName(int type)
{
    return nameOf(kFirstTransitionText, kTransitionCount, type);
}

QStringList transitionNames()
{
    return namesOf(kFirstTransitionText, kTransitionCount);
}

QString motionIcon(int type)
{
    return iconOf(kMotionIcons, kMotionCount, type);
}

QString motionName(int type)
{
    return nameOf(kFirstMotionText, kMotionCount, type);
}

QStringList motionNames()
{
    return namesOf(kFirstMotionText, kMotionCount);
}
