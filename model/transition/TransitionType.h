#pragma once

// Transition from one picture to the next; also the animation of a caption.
// Stored as a plain int in documents; values outside 0..28 draw nothing.
enum TransitionType : int {
    TransitionNone = 0,
    TransitionRandom = 1,
    TransitionPixelate = 2,
    TransitionMosaicSpiralIn = 3,
    TransitionMosaicSpiralOut = 4,
    TransitionMosaicStripes = 5,
    TransitionMosaicWall = 6,
    TransitionCheckerboard = 7,
    TransitionRotateOut = 8,
    TransitionRotateIn = 9,
    TransitionFlipOver = 10,
    TransitionWipeLeftToRight = 11,
    TransitionWipeRightToLeft = 12,
    TransitionWipeTopToBottom = 13,
    TransitionWipeBottomToTop = 14,
    TransitionWipeVerticalIn = 15,
    TransitionWipeVerticalOut = 16,
    TransitionStretchHorizontal = 17,
    TransitionStretchVertical = 18,
    TransitionZoomIn = 19,
    TransitionZoomOut = 20,
    TransitionSlideFromBottom = 21,
    TransitionSlideFromLeft = 22,
    TransitionSlideFromRight = 23,
    TransitionSlideFromTop = 24,
    TransitionSlideFromTopLeft = 25,
    TransitionFadeToBlack = 26,
    TransitionCrossfade = 27,
    TransitionFadeToWhite = 28,
    TransitionTypeCount = 29
};

// Whether the transition engine draws the type: 0 and 2..28.
inline bool isDrawnTransition(int type)
{
    return type == TransitionNone || (type >= TransitionPixelate && type < TransitionTypeCount);
}
