#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

class CAnimationInactive;
class GeneratorThread;
class ProjectFile;
class ProjectItem;
class QTimer;

// Plays the preview of a project, of one slide or of one slide's caption: a clock in
// milliseconds paints, at each repaint, the frame the preview-frame thread has drawn for
// it, and stands still while that frame is not drawn yet. It may show a still picture
// instead.
class VideoPlayer : public QWidget
{
    Q_OBJECT

public:
    // Milliseconds of a wall clock.
    using Clock = std::function<qint64()>;

    explicit VideoPlayer(QWidget* parent = nullptr);
    ~VideoPlayer() override;

    void setProject(ProjectFile* project, ProjectItem* item, bool captionOnly);
    void play();
    void stop();
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    bool isPlaying() const;
    // Playing or paused.
    bool isActive() const;
    bool isGenerating() const { return m_generating; }
    void setPosition(qint64 ms);
    qint64 position() const { return m_position; }
    qint64 duration() const { return m_duration; }
    void updateDuration();
    void clear();
    void showImage(const QImage& image);
    QImage stillImage() const { return m_stillImage; }

    // The wall clock the playback clock follows.
    void setClock(const Clock& now);
    // One step of the playback clock, as the timer takes it every 20 ms.
    void tick();

signals:
    void onPositionChanged(qint64 position);
    void stopped();
    void started();
    void generatingStarted();
    void generatingFinished();
    void playerClicked();
    void durationChanged(qint64 msec);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage currentPicture();
    QImage frameAtClock();
    const QImage& fitted(const QImage& picture, const QSize& size);
    void endGenerating();

    GeneratorThread* m_generator = nullptr;
    QTimer* m_tickTimer;
    qint64 m_lastTick = 0;
    QPointer<ProjectFile> m_project;
    QPointer<ProjectItem> m_item;
    bool m_paused = false;
    bool m_generating = false;
    // The last setProject asked no pass of the frame thread: no frame will come.
    bool m_noPass = true;
    qint64 m_position = 0;
    qint64 m_duration = 0;
    QImage m_stillImage;
    QImage m_lastFrame;
    // The last picture painted, scaled to its place in device pixels: the clock repaints
    // several times per frame.
    QImage m_fitted;
    qint64 m_fittedSource = 0;
    bool m_captionOnly = false;
    CAnimationInactive* m_disabledLook;
    Clock m_now;
};
