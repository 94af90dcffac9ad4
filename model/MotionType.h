#pragma once

// Motion effect of a photo slide; progress runs from 0 to kFullProgress.
// Stored as a plain int in documents.
enum MotionType : int {
    MotionNone = 0,
    MotionRandom = 1,
    MotionPanLeft = 2,
    MotionPanRight = 3,
    MotionPanUp = 4,
    MotionPanDown = 5,
    MotionZoomInCenter = 6,
    MotionZoomInRight = 7,
    MotionZoomInLeft = 8,
    MotionZoomOutCenter = 9,
    MotionZoomOutRight = 10,
    MotionZoomOutLeft = 11
};

// A motion's progress at its end.
constexpr double kFullProgress = 10000;
