#pragma once

#include <QColor>
#include <QImage>
#include <QMap>
#include <QSet>
#include <QSize>
#include <QVector>

// One engine run over fixed pictures, as a test sets it up.
struct TransitionSetup
{
    int type = 0;
    int frames = 0;
    QSize size{64, 48};
    bool incremental = false;
    int mode = 0;
    QImage oldPicture;
    QImage newPicture;
    // Frames to keep; empty keeps every frame.
    QSet<int> keep;
    // Index of the frame the sink refuses; -1 accepts all.
    int refuseAt = -1;
    // Fetches hand a fresh copy of the picture each time instead of the same shared one.
    bool freshCopies = false;
};

struct TransitionRecord
{
    QVector<int> indices;
    QVector<int> counts;
    QMap<int, QImage> frames;
    // Copies taken inside the sink, to compare with the kept frames afterwards.
    QMap<int, QImage> snapshots;
    int oldFetches = 0;
    int newFetches = 0;
};

// A run of `type` over two different pattern pictures of the frame size.
TransitionSetup patternSetup(int type, int frames, const QSize& size = QSize(64, 48));

// A run of `type` from one solid colour to another.
TransitionSetup solidSetup(int type, int frames, const QSize& size, const QColor& oldColor,
                           const QColor& newColor);

TransitionRecord recordTransition(const TransitionSetup& setup, bool snapshot = false);

QImage solidPicture(const QSize& size, const QColor& color);
// Opaque picture whose every pixel differs from its neighbours; `seed` varies the pattern.
QImage patternPicture(const QSize& size, int seed);
// Whether two colours differ by at most `tolerance` in each channel.
bool closeColors(QRgb a, QRgb b, int tolerance = 1);
// Whether every pixel of `frame` is `color`.
bool isUniform(const QImage& frame, const QColor& color);
