#pragma once

#include "model/transition/FrameTypes.h"

#include <Qt>

class ProjectFile;
class ProjectItem;

namespace FrameRenderer {

// Renders the project's timed frames into the sink: for each slide its transition, its caption
// animation and its motion frames. With a start slide only that slide is rendered. The first
// frame has timestamp 0 (100-ns units). An fps of 0 or less means the project's. With
// captionPreview no transition is played and rendering stops after the first caption animation.
// transformationMode (a Qt::TransformationMode) is the transitions' scaling quality; with
// releaseCaches a photo slide's picture caches are emptied once no frame needs them.
// False, with no frame, when the start slide is not in the project, when the project holds
// nothing to render, or when the frame rate gives no frame period; true otherwise, also when
// the sink stopped the rendering.
bool renderProject(ProjectFile* project, ProjectItem* startItem, int width, int height,
                   bool captionPreview, const FrameSink& sink, int fps = 0,
                   int transformationMode = Qt::FastTransformation, bool releaseCaches = false);

// How many frames renderProject draws for the whole project when the sink takes every one;
// 0 when it draws none.
qint64 frameTotal(ProjectFile* project, int width, int height, int fps = 0);

// The motion a photo slide set to random gets: one of 2..11 from rand(), never `previous`.
// Any other motion stays.
int pickMotion(int motion, int previous);
// The transition a slide set to random gets: one of 2..28 from rand(), never `previous` and
// never a block mosaic (3, 4, 6, 7). Any other type stays.
int pickTransition(int type, int previous);

} // namespace FrameRenderer
