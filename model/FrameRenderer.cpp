#include "model/FrameRenderer.h"

#include "model/MotionType.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "model/ProjectItemTransition.h"
#include "model/SlideInterfaces.h"
#include "model/transition/TransitionRenderer.h"
#include "model/transition/TransitionType.h"
#include "platform/MediaTicks.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

// Beyond this a slide's picture stands still.
constexpr qint64 kLongestMotion_ms = 15000;

// The frame nearest to time_ms, counted from the start of the video.
qint64 frameAt(qint64 time_ms, int fps)
{
    return std::llround(double(time_ms) * fps / 1000);
}

// Frames of a part that lasts duration_ms; none for a negative duration.
int frameCount(qint64 duration_ms, int fps)
{
    return int(std::clamp<qint64>(frameAt(duration_ms, fps), 0, std::numeric_limits<int>::max()));
}

void drawAt(QImage& frame, const QPoint& position, const QImage& picture)
{
    if (frame.isNull() || picture.isNull())
        return;
    QPainter(&frame).drawImage(position, picture);
}

// Draws a slide's caption as SlideText::render and ProjectItem::drawText do. Unless the
// caption shows the frame under it (the flip-over animation), its picture depends only on the
// frame's size, so it is laid out and drawn once per size.
class CaptionPainter
{
public:
    explicit CaptionPainter(const SlideText& caption) : m_caption(caption) {}

    // The caption picture for the frame and where it stands.
    void render(const QImage& frame, QImage& picture, QRect& rect)
    {
        if (m_caption.transition == TransitionFlipOver) {
            m_caption.render(frame, picture, rect);
            return;
        }
        if (frame.size() != m_size) {
            m_caption.render(frame, m_picture, m_rect);
            m_size = frame.size();
        }
        picture = m_picture;
        rect = m_rect;
    }

    // The caption alone, on a transparent picture of the frame's size.
    QImage alone(const QSize& frameSize)
    {
        QImage clear(frameSize, QImage::Format_ARGB32_Premultiplied);
        clear.fill(Qt::transparent);
        return picture(clear);
    }

    QImage picture(const QImage& frame)
    {
        QImage picture;
        QRect rect;
        render(frame, picture, rect);
        return picture;
    }

    void paint(QImage& frame)
    {
        if (m_caption.text.isEmpty())
            return;
        QImage picture;
        QRect rect;
        render(frame, picture, rect);
        drawAt(frame, rect.topLeft(), picture);
    }

private:
    const SlideText& m_caption;
    QSize m_size; // of the frames the cached picture is for
    QImage m_picture;
    QRect m_rect;
};

// The state of one renderProject call.
class ProjectRun
{
public:
    ProjectRun(ProjectFile& project, int width, int height, bool captionPreview,
               const FrameSink& sink, int fps, int transformationMode, bool releaseCaches);

    // The slide's transition, caption animation and motion frames; false once the sink
    // stopped the rendering.
    bool renderSlide(ProjectItem* slide);
    // The frames renderSlide draws from the slide to the last when the sink takes every one.
    qint64 countFrames(ProjectItem* slide);

private:
    // Whether the slide's time takes in the transition time: whenever a transition is set.
    bool takesTransitionTime(ProjectItem* slide) const;
    bool hasTransition(ProjectItem* slide, int index) const;
    static bool hasCaptionAnimation(const ProjectItem* slide);
    int captionFrames(const ProjectItem* slide) const;
    // Where the slide ends in the project: its start, its transition and its shown time.
    qint64 endTime(ProjectItem* slide) const;
    // The slide's picture without caption at that motion progress.
    QImage picture(ProjectItem* slide, int motion, double progress) const;
    // The last frame of the slide before `index`, with its caption: a transition's old picture.
    QImage previousPicture(int index) const;
    void playTransition(ProjectItem* slide, const QImage& previous);
    void playCaptionAnimation(ProjectItem* slide, CaptionPainter& caption);
    void playMotion(ProjectItem* slide, qint64 endFrame, CaptionPainter& caption);
    // Hands the frame to the sink and moves time and progress on; the sink's answer.
    bool emitFrame(const QImage& frame);
    void releaseCaches(ProjectItem* slide);

    ProjectFile& m_project;
    const int m_width;
    const int m_height;
    const bool m_captionPreview;
    const FrameSink& m_sink;
    const int m_fps;
    const int m_transformationMode;
    const bool m_releaseCaches;
    const bool m_hiddenStarter; // slide 0 is a hidden title slide

    qint64 m_frame = 0;   // index of the next frame in the video
    qint64 m_time_ms = 0; // where the current slide starts in the project
    double m_progress = 0;
    double m_shownProgress = 0; // of the last frame handed on
    qint64 m_motionSpan_ms = 0;
    bool m_goOn = true;
    int m_motion = MotionNone;         // picked for the current slide
    int m_transition = TransitionNone; // picked for the last transition
    ProjectItem* m_previousSlide = nullptr;
};

bool isHiddenStarter(const ProjectItem* slide)
{
    const auto* starter = dynamic_cast<const IStarterItem*>(slide);
    return starter && !starter->isVisible();
}

ProjectItem* firstSlide(const ProjectFile& project)
{
    ProjectItem* first = project.item(0);
    if (!isHiddenStarter(first))
        return first;
    return project.itemCount() > 1 ? project.item(1) : nullptr;
}

// The next slide that takes time in the video, or null.
ProjectItem* nextSlide(const ProjectFile& project, const ProjectItem* slide)
{
    for (int i = project.indexOf(slide) + 1; i < project.itemCount(); ++i) {
        ProjectItem* next = project.item(i);
        if (next->duration(project.transition_time_ms) != 0)
            return next;
    }
    return nullptr;
}

ProjectRun::ProjectRun(ProjectFile& project, int width, int height, bool captionPreview,
                       const FrameSink& sink, int fps, int transformationMode, bool releaseCaches)
    : m_project(project)
    , m_width(width)
    , m_height(height)
    , m_captionPreview(captionPreview)
    , m_sink(sink)
    , m_fps(fps)
    , m_transformationMode(transformationMode)
    , m_releaseCaches(releaseCaches)
    , m_hiddenStarter(isHiddenStarter(project.item(0)))
{
}

bool ProjectRun::renderSlide(ProjectItem* slide)
{
    const int index = m_project.indexOf(slide);
    const bool transition = hasTransition(slide, index);
    const SlideText& text = slide->text();
    const bool captionAnimation = hasCaptionAnimation(slide);
    const qint64 transitionTime_ms =
        takesTransitionTime(slide) ? m_project.transition_time_ms : 0;
    m_motionSpan_ms = std::min<qint64>(slide->time_ms(), kLongestMotion_ms)
        + (captionAnimation ? slide->textAnimationDuration() : 0) + transitionTime_ms;
    // Drawn with the motion the slide before used.
    const QImage previous = transition ? previousPicture(index) : QImage();

    const auto* photo = dynamic_cast<const ProjectItemSimple*>(slide);
    m_motion = photo ? FrameRenderer::pickMotion(photo->motion(), m_motion) : MotionNone;
    m_progress = 0;

    if (transition)
        playTransition(slide, previous);
    if (!m_goOn)
        return false;

    // The next slide starts on the frame nearest its time, whatever this one's frames
    // rounded to; a slide whose transition is left out shows its own picture in that time.
    m_time_ms = endTime(slide);
    CaptionPainter caption(text);
    if (captionAnimation)
        playCaptionAnimation(slide, caption);
    if (!m_goOn)
        return false;
    playMotion(slide, frameAt(m_time_ms, m_fps), caption);
    releaseCaches(slide);
    return m_goOn;
}

bool ProjectRun::takesTransitionTime(ProjectItem* slide) const
{
    const auto* item = dynamic_cast<const ProjectItemTransition*>(slide);
    return !m_captionPreview && item && item->transition != TransitionNone;
}

bool ProjectRun::hasTransition(ProjectItem* slide, int index) const
{
    // A hidden title slide takes the transition into slide 1 with it.
    return takesTransitionTime(slide) && (index > 1 || !m_hiddenStarter);
}

bool ProjectRun::hasCaptionAnimation(const ProjectItem* slide)
{
    const SlideText& text = slide->text();
    return !text.text.isEmpty() && text.transition != TransitionNone;
}

int ProjectRun::captionFrames(const ProjectItem* slide) const
{
    const QRect rect = slide->text().textRect(m_width, m_height);
    return TransitionRenderer::framesDrawn(slide->text().transition,
                                           frameCount(slide->textAnimationDuration(), m_fps),
                                           rect.width(), rect.height());
}

qint64 ProjectRun::endTime(ProjectItem* slide) const
{
    const qint64 transitionTime_ms = takesTransitionTime(slide) ? m_project.transition_time_ms : 0;
    return m_time_ms + slide->shownTime_ms() + std::max<qint64>(0, transitionTime_ms);
}

qint64 ProjectRun::countFrames(ProjectItem* slide)
{
    qint64 frames = 0;
    for (; slide; slide = nextSlide(m_project, slide)) {
        if (hasTransition(slide, m_project.indexOf(slide))) {
            // A random pick is always a type that is drawn.
            const int chosen = dynamic_cast<const ProjectItemTransition*>(slide)->transition;
            const int type = chosen == TransitionRandom ? TransitionCrossfade : chosen;
            frames += TransitionRenderer::framesDrawn(
                type, frameCount(m_project.transition_time_ms, m_fps), m_width, m_height);
        }
        if (hasCaptionAnimation(slide))
            frames += captionFrames(slide);
        m_time_ms = endTime(slide);
        // At least one motion frame, then up to the slide's end.
        frames = std::max(frames + 1, frameAt(m_time_ms, m_fps));
    }
    return frames;
}

QImage ProjectRun::picture(ProjectItem* slide, int motion, double progress) const
{
    const bool fit = m_project.scale_to_fit;
    const bool blur = m_project.blur_background;
    if (auto* photo = dynamic_cast<ProjectItemSimple*>(slide))
        return photo->renderMotion(motion, m_width, m_height, fit, blur, progress);
    return slide->renderImage(m_width, m_height, false, fit, blur);
}

QImage ProjectRun::previousPicture(int index) const
{
    if (index <= 0 || (index == 1 && m_hiddenStarter)) {
        QImage black(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
        black.fill(Qt::black);
        return black;
    }
    ProjectItem* before = m_project.item(index - 1);
    // The slide's motion may not have reached its end when the slide ended.
    QImage image = picture(before, m_motion, m_shownProgress);
    before->drawText(image);
    return image;
}

void ProjectRun::playTransition(ProjectItem* slide, const QImage& previous)
{
    const int chosen = dynamic_cast<const ProjectItemTransition*>(slide)->transition;
    m_transition = FrameRenderer::pickTransition(chosen, m_transition);
    TransitionRenderer engine;
    engine.setFrameSize(m_width, m_height, m_transformationMode);
    engine.setIncremental(m_motion == MotionNone);
    engine.render(
        m_transition, frameCount(m_project.transition_time_ms, m_fps),
        [previous] { return previous; },
        [this, slide] { return picture(slide, m_motion, m_progress); },
        [this](const QImage& frame, int, int) {
            m_goOn = emitFrame(frame);
            return m_goOn;
        });
}

void ProjectRun::playCaptionAnimation(ProjectItem* slide, CaptionPainter& caption)
{
    // The effect runs on the caption alone; each of its frames lies over that frame's
    // picture, so the picture under the caption keeps moving as the slide's own.
    const QRect rect = slide->text().textRect(m_width, m_height);
    const QImage shown = caption.alone(QSize(m_width, m_height));
    TransitionRenderer engine;
    engine.setFrameSize(rect.width(), rect.height(), m_transformationMode);
    engine.setIncremental(m_motion == MotionNone);
    engine.setSeeThrough(true);
    engine.render(
        slide->text().transition, frameCount(slide->textAnimationDuration(), m_fps),
        [] { return QImage(); }, [shown] { return shown; },
        [&, this](const QImage& effect, int, int) {
            QImage frame = picture(slide, m_motion, m_progress);
            drawAt(frame, rect.topLeft(), effect);
            return emitFrame(frame);
        });
    if (m_captionPreview)
        m_goOn = false;
}

void ProjectRun::playMotion(ProjectItem* slide, qint64 endFrame, CaptionPainter& caption)
{
    do {
        QImage frame = picture(slide, m_motion, m_progress);
        caption.paint(frame);
        m_goOn = emitFrame(frame);
    } while (m_goOn && m_frame < endFrame);
}

bool ProjectRun::emitFrame(const QImage& frame)
{
    // Each frame's own time, so no rounding adds up from frame to frame.
    const qint64 timestamp = (m_frame * kTicksPerSecond * 2 + m_fps) / (2 * m_fps);
    const bool goOn = m_sink(frame, timestamp);
    m_shownProgress = m_progress;
    // A span of 0 or less (times from a document) holds the progress at an end.
    m_progress = std::clamp(m_progress + double(kTicksPerSecond) / m_motionSpan_ms / m_fps, 0.0,
                            kFullProgress);
    ++m_frame;
    return goOn;
}

void ProjectRun::releaseCaches(ProjectItem* slide)
{
    if (!m_releaseCaches)
        return;
    // The slide's own caches stay: the next transition starts from its last frame.
    if (auto* photo = dynamic_cast<ProjectItemSimple*>(m_previousSlide))
        photo->clearCaches();
    m_previousSlide = slide;
}

} // namespace

bool FrameRenderer::renderProject(ProjectFile* project, ProjectItem* startItem, int width,
                                  int height, bool captionPreview, const FrameSink& sink, int fps,
                                  int transformationMode, bool releaseCaches)
{
    if (!project)
        return false;
    const int rate = fps > 0 ? fps : project->fps;
    if (rate < 1 || kTicksPerSecond / rate == 0)
        return false;
    ProjectItem* slide = startItem ? startItem : firstSlide(*project);
    if (!slide || project->indexOf(slide) < 0)
        return false;

    ProjectRun run(*project, width, height, captionPreview, sink, rate, transformationMode,
                   releaseCaches);
    while (slide && run.renderSlide(slide))
        slide = startItem ? nullptr : nextSlide(*project, slide);
    return true;
}

qint64 FrameRenderer::frameTotal(ProjectFile* project, int width, int height, int fps)
{
    if (!project)
        return 0;
    const int rate = fps > 0 ? fps : project->fps;
    ProjectItem* slide = firstSlide(*project);
    if (rate < 1 || kTicksPerSecond / rate == 0 || !slide)
        return 0;
    const FrameSink none;
    ProjectRun run(*project, width, height, false, none, rate, Qt::FastTransformation, false);
    return run.countFrames(slide);
}

int FrameRenderer::pickMotion(int motion, int previous)
{
    if (motion != MotionRandom)
        return motion;
    int picked;
    do
        picked = std::rand() % 10 + MotionPanLeft;
    while (picked == previous);
    return picked;
}

int FrameRenderer::pickTransition(int type, int previous)
{
    if (type != TransitionRandom)
        return type;
    const auto blockMosaic = [](int t) {
        return t == TransitionMosaicSpiralIn || t == TransitionMosaicSpiralOut
            || t == TransitionMosaicWall || t == TransitionCheckerboard;
    };
    int picked;
    do
        picked = std::rand() % 27 + TransitionPixelate;
    while (picked == previous || blockMosaic(picked));
    return picked;
}
