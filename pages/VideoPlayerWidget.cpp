#include "pages/VideoPlayerWidget.h"

#include "app/Application.h"
#include "app/DroppedFiles.h"
#include "app/audio/AudioFilesController.h"
#include "app/audio/Mp3.h"
#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "model/ProjectItemSimple.h"
#include "model/TimeText.h"
#include "pages/InterfaceText.h"
#include "pages/PageShell.h"
#include "pages/VideoPlayer.h"
#include "pages/VolumeButton.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QBoxLayout>
#include <QDir>
#include <QConicalGradient>
#include <QPainter>
#include <QTimer>
#include <QVariantAnimation>

namespace {

constexpr int kSpinnerHideMs = 300;
constexpr int kRepaintAfterStallMs = 40;
constexpr int kStartDelayMs = 100;
constexpr int kCornerMetric = 23;
const QSize kStillBounds(460, 277);

// The per-run folder of the program; the system's temporary folder elsewhere.
QString previewAudioFolder()
{
    if (auto* application = qobject_cast<Application*>(QCoreApplication::instance()))
        return application->tempFolder();
    return QDir::tempPath();
}

QStringList droppedAudioFiles(const QUrl& url)
{
    return filesFromUrl(url, audioFileExtensions());
}

// The still of a slide: its first motion frame or its picture, with its caption.
QImage slidePicture(const ProjectFile& project, ProjectItem& item)
{
    const QSize size = project.resolution.size().scaled(kStillBounds, Qt::KeepAspectRatio);
    if (size.isEmpty())
        return QImage();
    auto* photo = dynamic_cast<ProjectItemSimple*>(&item);
    QImage image = photo ? photo->motionFrame(size.width(), size.height(), project.scale_to_fit,
                                              project.blur_background, 0.0)
                         : item.renderImage(size.width(), size.height(), false, project.scale_to_fit,
                                            project.blur_background);
    if (!image.isNull())
        item.drawText(image);
    return image;
}

QString zeroDigits(QString text)
{
    for (QChar& c : text) {
        if (c.isDigit())
            c = QLatin1Char('0');
    }
    return text;
}

} // namespace

VideoPlayerWidget::Toolbar::Toolbar(QWidget* parent)
    : CWidgetBase(parent)
    , m_play(new CButton(1029, QStringLiteral(":/play.svg"), this))
    , m_stop(new CButton(1028, QStringLiteral(":/stop.svg"), this))
    , m_position(new CWidgetText(1060, this))
    , m_slider(new CSlider(1075, Qt::Horizontal, this))
    , m_duration(new CWidgetText(1060, this))
    , m_volume(new VolumeButton(this))
{
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_play->setCheckable(true);
    // Whole percent of the duration, the end included.
    m_slider->setRange(0, 100);
    m_slider->setPageStep(1);
    m_slider->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_volume->setVolume(100);
    m_position->setText(msecsToMinSecText(0));
    m_duration->setText(msecsToMinSecText(0));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 0);
    layout->setSpacing(0);
    layout->addWidget(m_play);
    layout->addWidget(m_stop);
    layout->addSpacing(4);
    layout->addWidget(m_position);
    layout->addSpacing(8);
    layout->addWidget(m_slider);
    layout->addSpacing(8);
    layout->addWidget(m_duration);
    layout->addSpacing(4);
    layout->addWidget(m_volume);
}

VideoPlayerWidget::ActionsOverlay::ActionsOverlay(QWidget* player)
    : PopupOverlay(1045, player)
    , m_repeatTransition(new CButton(1046, QStringLiteral(":/repeat-transition.svg"), this))
    , m_repeatAll(new CButton(1046, QStringLiteral(":/repeat-all.svg"), this))
{
    setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);
    layout->addWidget(m_repeatTransition);
    layout->addWidget(m_repeatAll);
}

VideoPlayerWidget::Spinner::Spinner(QWidget* parent)
    : CWidgetBase(parent)
    , CAnimationShow2(this)
    , m_animation(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setVisibleAnimated(false, false);
    m_animation->setStartValue(90.0);
    m_animation->setEndValue(450.0);
    m_animation->setDuration(2000);
    m_animation->setEasingCurve(QEasingCurve::Linear);
    m_animation->setLoopCount(-1);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this] { update(); });
    connect(this, &CWidgetBase::showed, m_animation, [this] { m_animation->start(); });
    connect(this, &CWidgetBase::hided, m_animation, &QVariantAnimation::stop);
}

void VideoPlayerWidget::Spinner::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    const double angle = m_animation->currentValue().toDouble() + 12.0;
    const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
    QConicalGradient gradient(area.center(), angle);
    gradient.setColorAt(0.0, Qt::transparent);
    gradient.setColorAt(1.0, Qt::white);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QBrush(gradient), 16, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    painter.drawArc(area, qRound((angle + 12.0) * 16), 5280);
}

VideoPlayerWidget::VideoPlayerWidget(QWidget* parent)
    : CPanel(1053, parent)
    , m_audioList(new AudioFilesController(previewAudioFolder, this))
    , m_player(new VideoPlayer(this))
    , m_toolbar(new Toolbar(this))
    , m_titleLabel(new CWidgetText(1059, m_player))
    , m_overlay(new ActionsOverlay(m_player))
    , m_spinnerHideTimer(new QTimer(this))
    , m_spinner(new Spinner(m_player))
    , m_startTimer(new QTimer(this))
    , m_musicFactory([](QObject* parent) { return new Mp3(parent); })
{
    setMinimumSize(460, 320);
    const int radius = currentPalette()->metric(kCornerMetric);
    setRadius({radius, radius, radius, radius});
    m_titleLabel->move(8, 8);
    m_titleLabel->hide();
    m_spinnerHideTimer->setInterval(kSpinnerHideMs);
    m_startTimer->setInterval(kStartDelayMs);
    m_audioList->setDroppedFiles(droppedAudioFiles);
    m_audioList->setNotAllAddedMessage(PageShell::showAudioNotAddedMessage);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_player);
    layout->addWidget(m_toolbar);

    connect(m_player, &VideoPlayer::onPositionChanged, this, &VideoPlayerWidget::onPositionChanged);
    connect(m_player, &VideoPlayer::stopped, this, &VideoPlayerWidget::onStopped);
    connect(m_player, &VideoPlayer::started, this, &VideoPlayerWidget::onStarted);
    connect(m_player, &VideoPlayer::generatingStarted, this, &VideoPlayerWidget::onGeneratingStarted);
    connect(m_player, &VideoPlayer::generatingFinished, this, &VideoPlayerWidget::onGeneratingFinished);
    connect(m_player, &VideoPlayer::playerClicked, this, [this] {
        CButton* play = m_toolbar->playButton();
        play->setCheckedAndEmit(!play->isChecked());
    });
    connect(m_player, &VideoPlayer::durationChanged, this, &VideoPlayerWidget::onDurationChanged);
    connect(m_toolbar->playButton(), &CButton::toggled, this, &VideoPlayerWidget::onPlayToggled);
    connect(m_toolbar->stopButton(), &CButton::clicked, this, [this] {
        if (m_music)
            m_music->stop();
        m_player->stop();
    });
    connect(m_toolbar->slider(), &CSlider::valueChanged, this, &VideoPlayerWidget::onSeek);
    connect(m_toolbar->volumeButton(), &VolumeButton::volumeChanged, this, &VideoPlayerWidget::onVolumeChanged);
    connect(m_overlay->repeatTransitionButton(), &CButton::clicked, this, &VideoPlayerWidget::onRepeatTransition);
    connect(m_overlay->repeatAllButton(), &CButton::clicked, this, [this] { playPreview(-1, QString(), false); });
    connect(m_spinnerHideTimer, &QTimer::timeout, m_spinner, [this] { m_spinner->hideAnimated(); });
    connect(m_startTimer, &QTimer::timeout, this, &VideoPlayerWidget::onStartTimeout);
    m_toolbar->volumeButton()->attachWheelTarget(m_player);
    updateTexts();
}

VideoPlayerWidget::~VideoPlayerWidget()
{
    // The player's frame thread ends before the music and the track list go.
    m_player->stop();
}

void VideoPlayerWidget::setMusicPlayerFactory(const MusicPlayerFactory& factory)
{
    m_musicFactory = factory;
}

void VideoPlayerWidget::setProject(ProjectFile* project)
{
    if (m_project && m_project != project)
        disconnect(m_audioList, &AudioFilesController::audioChanged, m_project, nullptr);
    if (project && project != m_project)
        bindMusic(project);
    m_project = project;
    m_player->setProject(project, nullptr, false);
}

void VideoPlayerWidget::bindMusic(ProjectFile* project)
{
    if (!m_music)
        m_music = m_musicFactory(this);
    m_audioList->setFadeSilently(project->audio_fade);
    m_audioList->setOffsetSilently(project->audio_offset);
    m_audioList->setLoopSilently(project->audio_loop);
    m_audioList->setTracks(project->audio_files);
    m_audioList->prepareWavFiles();
    m_music->load(m_audioList->tracks(), project->audio_loop);
    connect(m_audioList, &AudioFilesController::audioChanged, project, [this] { writeBackAudio(); });
    m_audioList->setVolume(m_toolbar->volumeButton()->volume());
}

void VideoPlayerWidget::writeBackAudio()
{
    if (!m_project)
        return;
    const QList<AudioTrack> tracks = m_audioList->tracks();
    m_project->audio_files = tracks;
    m_project->audio_fade = m_audioList->fade();
    m_project->audio_offset = m_audioList->offset();
    m_project->audio_loop = m_audioList->isLoop();
    if (m_music)
        m_music->load(tracks, m_project->audio_loop);
}

QString VideoPlayerWidget::titleText() const
{
    return m_item ? interfaceText(242).arg(m_slideName) : interfaceText(241);
}

void VideoPlayerWidget::setTitle(const QString& text)
{
    m_titleLabel->setText(text);
    m_titleLabel->adjustSize();
}

void VideoPlayerWidget::showOverlay(bool visible)
{
    m_overlay->setVisibleAnimated(visible, true);
}

void VideoPlayerWidget::playPreview(int index, const QString& slideName, bool captionOnly)
{
    if (!m_project)
        return;
    m_captionOnly = captionOnly;
    m_slideName = slideName;
    if (index < 0 && m_project->itemCount() == 0)
        return;
    setTitle(index < 0 ? interfaceText(241) : interfaceText(242).arg(slideName));
    m_titleLabel->show();
    showOverlay(false);
    m_toolbar->playButton()->setChecked(true);
    m_busy = true;
    m_player->clear();
    m_item = nullptr;
    m_startOffset = 0;
    if (index >= 0) {
        m_item = m_project->item(index);
        m_startOffset = m_item ? PreviewMusic::slideStart(*m_project, m_item) : 0;
    }
    m_window = PreviewMusic::musicWindow(m_project->totalDuration(), m_audioList->totalDuration(),
                                         m_audioList->isLoop(), m_audioList->offset(), m_project->audio_fade);
    m_player->setProject(m_project, m_item, captionOnly);
    m_startTimer->start();
    m_busy = false;
}

void VideoPlayerWidget::showSlide(int index, const QString& slideName, bool captionOnly, bool force)
{
    if (!m_project)
        return;
    m_captionOnly = captionOnly;
    if (!force && m_item && m_project->item(index) == m_item)
        return;
    m_slideName = slideName;
    setTitle(interfaceText(242).arg(slideName));
    m_busy = true;
    m_player->clear();
    m_item = nullptr;
    if (index >= 0) {
        m_titleLabel->show();
        m_item = m_project->item(index);
        m_player->setProject(m_project, m_item, captionOnly);
        if (m_item)
            m_player->showImage(slidePicture(*m_project, *m_item));
    }
    m_busy = false;
}

void VideoPlayerWidget::reset()
{
    showOverlay(false);
    m_titleLabel->hide();
    m_toolbar->slider()->setEnabled(true);
    m_player->clear();
    if (m_music)
        m_music->stop();
    m_item = nullptr;
}

void VideoPlayerWidget::stop()
{
    // A preview about to start would stop what the user plays meanwhile.
    m_startTimer->stop();
    m_player->stop();
    if (m_music)
        m_music->stop();
}

bool VideoPlayerWidget::isActive() const
{
    return m_player->isActive();
}

void VideoPlayerWidget::updateDuration()
{
    m_player->updateDuration();
}

void VideoPlayerWidget::setActionsEnabled(bool enabled)
{
    m_actionsEnabled = enabled;
    if (!enabled && m_overlay->isVisible())
        showOverlay(false);
}

void VideoPlayerWidget::setMusicEnabled(bool enabled)
{
    m_musicEnabled = enabled;
}

void VideoPlayerWidget::showImage(const QImage& image)
{
    m_player->showImage(image);
}

void VideoPlayerWidget::updateTexts()
{
    m_overlay->repeatTransitionButton()->setText(interfaceText(239));
    m_overlay->repeatAllButton()->setText(interfaceText(240));
    if (!m_titleLabel->text().isEmpty())
        setTitle(titleText());
}

void VideoPlayerWidget::resizeEvent(QResizeEvent* event)
{
    CPanel::resizeEvent(event);
    m_titleLabel->move(8, 8);
    QRect spinner(QPoint(), m_spinner->sizeHint());
    spinner.moveCenter(m_player->rect().center());
    m_spinner->setGeometry(spinner);
}

bool VideoPlayerWidget::musicLoaded() const
{
    return m_music && m_music->isLoaded();
}

void VideoPlayerWidget::setMusicVolume(int volume)
{
    if (m_music)
        m_music->setVolume(m_musicEnabled ? volume : 0);
}

qint64 VideoPlayerWidget::clockAtSlider() const
{
    return PreviewMusic::clockAtPercent(m_player->duration(), m_toolbar->slider()->value());
}

void VideoPlayerWidget::playMusicAtClock(qint64 clockMs)
{
    const qint64 at = PreviewMusic::musicPosition(
        clockMs, m_project ? PreviewMusic::slideStart(*m_project, m_item) : 0, m_audioList->offset());
    if (at >= 0)
        m_music->play(at);
}

void VideoPlayerWidget::setInitialVolume()
{
    if (!m_project || m_project->audio_fade == 0) {
        setMusicVolume(m_toolbar->volumeButton()->volume());
        return;
    }
    // One rule at start and at resume: silent unless a later slide is previewed, where the
    // music is already at its level.
    if (!m_item || m_project->isFirstItem(m_item))
        setMusicVolume(0);
}

void VideoPlayerWidget::onStartTimeout()
{
    m_startTimer->stop();
    if (musicLoaded()) {
        setInitialVolume();
        playMusicAtClock(clockAtSlider());
    }
    m_player->play();
}

void VideoPlayerWidget::onPlayToggled(bool checked)
{
    if (!m_project)
        return;
    m_audioList->stop();
    if (!checked) {
        if (m_music)
            m_music->pause();
        m_player->setPaused(true);
        return;
    }
    if (!m_player->isPaused()) {
        if (m_item)
            playPreview(m_project->indexOf(m_item), m_project->itemNumberText(m_item), m_captionOnly);
        else
            playPreview(-1, QString(), false);
        return;
    }
    m_player->setPaused(false);
    if (!musicLoaded())
        return;
    setInitialVolume();
    playMusicAtClock(clockAtSlider());
}

void VideoPlayerWidget::onPositionChanged(qint64 position)
{
    m_toolbar->positionLabel()->setText(msecsToMinSecText(position));
    const qint64 show = position + m_startOffset;
    if (musicLoaded() && m_project) {
        const int volume = PreviewMusic::fadeVolume(show, m_window, m_project->audio_fade,
                                                    m_toolbar->volumeButton()->volume());
        if (volume >= 0)
            setMusicVolume(volume);
    }
    CSlider* slider = m_toolbar->slider();
    const bool animated = slider->isAnimated();
    slider->setAnimated(false);
    slider->setValueSilently(PreviewMusic::percentOf(position, m_player->duration()));
    slider->setAnimated(animated);
    if (musicLoaded() && !m_music->isPlaying() && m_player->isPlaying())
        playMusicAtClock(position);
}

void VideoPlayerWidget::onSeek(int percent)
{
    const qint64 ms = PreviewMusic::clockAtPercent(m_player->duration(), percent);
    if (m_player->isPlaying() && musicLoaded())
        playMusicAtClock(ms);
    m_player->setPosition(ms);
}

void VideoPlayerWidget::onVolumeChanged(int value)
{
    setMusicVolume(value);
    m_audioList->setVolume(value);
}

void VideoPlayerWidget::onRepeatTransition()
{
    if (m_item && m_project)
        playPreview(m_project->indexOf(m_item), m_project->itemNumberText(m_item), false);
}

void VideoPlayerWidget::onDurationChanged(qint64 ms)
{
    CWidgetText* duration = m_toolbar->durationLabel();
    duration->setText(msecsToMinSecText(ms));
    CWidgetText* position = m_toolbar->positionLabel();
    position->setFixedWidth(position->fontMetrics().horizontalAdvance(zeroDigits(duration->text())));
    emit durationChanged(ms);
}

void VideoPlayerWidget::onStarted()
{
    m_titleLabel->show();
    showOverlay(false);
    m_toolbar->playButton()->setChecked(true);
}

void VideoPlayerWidget::onStopped()
{
    m_toolbar->positionLabel()->setText(msecsToMinSecText(0));
    m_toolbar->slider()->setValue(0);
    m_titleLabel->hide();
    if (m_item && !m_busy && m_actionsEnabled)
        showOverlay(true);
    if (m_music)
        m_music->stop();
    m_toolbar->playButton()->setChecked(false);
}

void VideoPlayerWidget::onGeneratingStarted()
{
    m_generating = true;
    m_spinnerHideTimer->stop();
    m_spinner->showAnimated();
}

void VideoPlayerWidget::onGeneratingFinished()
{
    m_generating = false;
    m_spinnerHideTimer->start();
    QTimer::singleShot(kRepaintAfterStallMs, m_player, [this] { m_player->repaint(); });
}
