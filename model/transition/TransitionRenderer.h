#pragma once

#include "model/transition/FrameTypes.h"
#include "model/transition/TransitionType.h"

#include <QImage>
#include <QRect>
#include <QVector>

class TransitionCanvas;

// Draws the frames of one transition between two pictures and hands each to a sink. The type
// is a transition type 0..28; 1 (random) and any other value draw nothing.
class TransitionRenderer
{
public:
    // transformationMode: a Qt::TransformationMode, used where an effect scales with it.
    void setFrameSize(int width, int height, int transformationMode);
    // Set when the new picture does not change from frame to frame.
    void setIncremental(bool incremental);
    // Set to draw on a transparent canvas, as a caption's animation is drawn; a null old
    // picture then counts as transparent.
    void setSeeThrough(bool seeThrough);
    // Frames 0..frameCount - 1, in order, until the sink answers false. A null old picture
    // counts as opaque black.
    void render(int type, int frameCount, PictureSource oldPicture, PictureSource newPicture,
                TransitionFrameSink sink);
    // How many frames render draws for the type and count at that frame size when the sink
    // takes every one.
    static int framesDrawn(int type, int frameCount, int width, int height);

private:
    Qt::TransformationMode mode() const;
    static QImage scaled(const QImage& picture, int width, int height, Qt::TransformationMode mode);
    void dispatch(int type, int n, TransitionCanvas& canvas);

    void renderNone(int n);

    void renderPixelate(int n);
    void renderSpiralIn(int n, TransitionCanvas& canvas);
    void renderSpiralOut(int n, TransitionCanvas& canvas);
    void renderStripes(int n, TransitionCanvas& canvas);
    void renderWall(int n, TransitionCanvas& canvas);
    void renderCheckerboard(int n, TransitionCanvas& canvas);
    void renderBlocks(int n, TransitionCanvas& canvas, const QVector<QRect>& order, int lead);

    void renderRotate(int n, TransitionCanvas& canvas, bool inward);
    void renderFlipOver(int n, TransitionCanvas& canvas);
    void renderStretchHorizontal(int n, TransitionCanvas& canvas);
    void renderStretchVertical(int n, TransitionCanvas& canvas);
    void renderZoomIn(int n, TransitionCanvas& canvas);
    void renderZoomOut(int n, TransitionCanvas& canvas);
    void renderPush(int type, int n, TransitionCanvas& canvas);

    void renderWipe(int type, int n, TransitionCanvas& canvas);
    void renderFadeThrough(const QColor& color, int n, TransitionCanvas& canvas);
    void renderCrossfade(int n, TransitionCanvas& canvas);

    int m_transformationMode = Qt::FastTransformation;
    int m_width = 0;
    int m_height = 0;
    bool m_incremental = false;
    bool m_seeThrough = false;
    PictureSource m_oldPicture;
    PictureSource m_newPicture;
    TransitionFrameSink m_sink;
};
