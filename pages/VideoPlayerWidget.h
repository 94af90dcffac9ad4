#pragma once

#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CAnimationShow2.h"
#include "pages/PopupOverlay.h"
#include "pages/PreviewMusic.h"

#include <QPointer>

#include <functional>

class AudioFilesController;
class CButton;
class CSlider;
class CWidgetText;
class Mp3;
class ProjectFile;
class ProjectItem;
class QTimer;
class QVariantAnimation;
class VideoPlayer;
class VolumeButton;

// The preview panel: the player over a toolbar of play and stop, the elapsed time, the
// position, the total time and the volume; a title, a spinner while frames are drawn and,
// after a slide preview, its repeat actions over the picture. It plays the project's music
// in step with the picture and owns the project's track list, whose edits it writes back.
class VideoPlayerWidget : public CPanel
{
    Q_OBJECT

public:
    class Toolbar;
    class ActionsOverlay;
    class Spinner;
    using MusicPlayerFactory = std::function<Mp3*(QObject* parent)>;

    explicit VideoPlayerWidget(QWidget* parent = nullptr);
    ~VideoPlayerWidget() override;

    // Makes the music player when the first project is bound; a real one by default.
    void setMusicPlayerFactory(const MusicPlayerFactory& factory);

    void setProject(ProjectFile* project);
    void playPreview(int index, const QString& slideName, bool captionOnly);
    void showSlide(int index, const QString& slideName, bool captionOnly, bool force);
    void reset();
    void stop();
    bool isActive() const;
    void updateDuration();
    void setActionsEnabled(bool enabled);
    void setMusicEnabled(bool enabled);
    void showImage(const QImage& image);
    void updateTexts();

    VideoPlayer* player() const { return m_player; }
    Toolbar* toolbar() const { return m_toolbar; }
    AudioFilesController* audioFiles() const { return m_audioList; }
    Mp3* musicPlayer() const { return m_music; }
    CWidgetText* titleLabel() const { return m_titleLabel; }
    ActionsOverlay* actionsOverlay() const { return m_overlay; }
    Spinner* spinner() const { return m_spinner; }
    QTimer* startTimer() const { return m_startTimer; }
    QTimer* spinnerHideTimer() const { return m_spinnerHideTimer; }

signals:
    void durationChanged(qlonglong msecs);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void bindMusic(ProjectFile* project);
    void writeBackAudio();
    void onPositionChanged(qint64 position);
    void onStopped();
    void onStarted();
    void onGeneratingStarted();
    void onGeneratingFinished();
    void onDurationChanged(qint64 ms);
    void onPlayToggled(bool checked);
    void onSeek(int percent);
    void onVolumeChanged(int value);
    void onStartTimeout();
    void onRepeatTransition();
    void setMusicVolume(int volume);
    // The start volume of the music: the fade rule takes over at the next position update.
    void setInitialVolume();
    void playMusicAtClock(qint64 clockMs);
    bool musicLoaded() const;
    qint64 clockAtSlider() const;
    QString titleText() const;
    void setTitle(const QString& text);
    void showOverlay(bool visible);

    PreviewMusic::Window m_window;
    qint64 m_startOffset = 0;
    AudioFilesController* m_audioList;
    VideoPlayer* m_player;
    Toolbar* m_toolbar;
    CWidgetText* m_titleLabel;
    ActionsOverlay* m_overlay;
    bool m_generating = false;
    QTimer* m_spinnerHideTimer;
    Spinner* m_spinner;
    QTimer* m_startTimer;
    QPointer<ProjectFile> m_project;
    QPointer<ProjectItem> m_item;
    bool m_captionOnly = false;
    bool m_musicEnabled = true;
    bool m_actionsEnabled = true;
    Mp3* m_music = nullptr;
    bool m_busy = false;
    QString m_slideName;
    MusicPlayerFactory m_musicFactory;
};

class VideoPlayerWidget::Toolbar : public CWidgetBase
{
    Q_OBJECT

public:
    explicit Toolbar(QWidget* parent = nullptr);

    CButton* playButton() const { return m_play; }
    CButton* stopButton() const { return m_stop; }
    CWidgetText* positionLabel() const { return m_position; }
    CSlider* slider() const { return m_slider; }
    CWidgetText* durationLabel() const { return m_duration; }
    VolumeButton* volumeButton() const { return m_volume; }

private:
    CButton* m_play;
    CButton* m_stop;
    CWidgetText* m_position;
    CSlider* m_slider;
    CWidgetText* m_duration;
    VolumeButton* m_volume;
};

class VideoPlayerWidget::ActionsOverlay : public PopupOverlay
{
public:
    explicit ActionsOverlay(QWidget* player);

    CButton* repeatTransitionButton() const { return m_repeatTransition; }
    CButton* repeatAllButton() const { return m_repeatAll; }

private:
    CButton* m_repeatTransition;
    CButton* m_repeatAll;
};

class VideoPlayerWidget::Spinner : public CWidgetBase, public CAnimationShow2
{
    Q_OBJECT

public:
    explicit Spinner(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(100, 100); }
    QVariantAnimation* animation() const { return m_animation; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation* m_animation;
};
