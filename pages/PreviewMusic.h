#pragma once

#include <QtGlobal>

class ProjectFile;
class ProjectItem;

// The arithmetic that keeps a preview's music in step with its picture. Three time lines:
// the player's clock counts from the start of the previewed stretch, the show's adds the
// stretch's start, the music's is the show's minus the music offset.
namespace PreviewMusic {

// Where the music is heard at full volume on the show's time line; -1 for none.
struct Window
{
    qint64 fadeInEnd = -1;
    qint64 fadeOutStart = -1;
};

// The start of a slide on the show's time line: 0 without a slide, -1 for a slide that
// is no longer in the project.
qint64 slideStart(const ProjectFile& project, const ProjectItem* item);
// The music position for a clock value; -1 when the slide start is -1. Negative: the
// music has not begun yet.
qint64 musicPosition(qint64 clockMs, qint64 slideStartMs, int offsetSeconds);
// The music window of a show: it ends with the show, or earlier with music that does
// not loop and runs out.
Window musicWindow(qint64 showMs, qint64 musicMs, bool loop, int offsetSeconds, int fadeSeconds);
// The music volume at a point of the show's time line for a full volume; -1 when no
// window is set (the volume is left as it is).
int fadeVolume(qint64 showMs, const Window& window, int fadeSeconds, int volume);
// A clock value as a whole percent of the duration; 0 for a duration of 0.
int percentOf(qint64 positionMs, qint64 durationMs);
// The clock value of a percent of the duration.
qint64 clockAtPercent(qint64 durationMs, int percent);

} // namespace PreviewMusic
