#include "pages/VideoPlayer.h"

#include "app/GeneratorThread.h"
#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "model/SlideInterfaces.h"
#include "uilib/style/CAnimationInactive.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kTickMs = 20;
// A longer gap between ticks (a stalled event loop, a sleep, a clock change) counts as this.
constexpr qint64 kMaxStepMs = 500;
constexpr qint64 kStepAfterGapMs = 50;
constexpr int kBackgroundRole = 1018;

// Only a title slide that is hidden and alone leaves nothing to draw.
bool onlyHiddenTitle(const ProjectFile& project)
{
    if (project.itemCount() != 1)
        return false;
    const auto* title = dynamic_cast<const IStarterItem*>(project.item(0));
    return title && !title->isVisible();
}

} // namespace

VideoPlayer::VideoPlayer(QWidget* parent)
    : QWidget(parent)
    , m_tickTimer(new QTimer(this))
    , m_disabledLook(new CAnimationInactive(1, this))
    , m_now([] { return QDateTime::currentMSecsSinceEpoch(); })
{
    m_disabledLook->setWidget(this);
    m_tickTimer->setInterval(kTickMs);
    connect(m_tickTimer, &QTimer::timeout, this, &VideoPlayer::tick);
}

VideoPlayer::~VideoPlayer() = default;

void VideoPlayer::setClock(const Clock& now)
{
    m_now = now;
}

bool VideoPlayer::isActive() const
{
    return m_tickTimer->isActive();
}

bool VideoPlayer::isPlaying() const
{
    return isActive() && !m_paused;
}

void VideoPlayer::endGenerating()
{
    if (!m_generating)
        return;
    m_generating = false;
    emit generatingFinished();
}

void VideoPlayer::setProject(ProjectFile* project, ProjectItem* item, bool captionOnly)
{
    // A paused player left running would play the new preview at once.
    if (isActive())
        stop();
    m_position = 0;
    endGenerating();
    m_paused = false;
    m_project = project;
    m_item = item;
    m_captionOnly = captionOnly;
    m_stillImage = QImage();
    m_lastFrame = QImage();
    m_noPass = true;
    if (!project || (!item && onlyHiddenTitle(*project)))
        return;
    updateDuration();
    if (!m_generator)
        m_generator = new GeneratorThread(this);
    m_generator->generate(project, item, item != nullptr, captionOnly);
    m_noPass = false;
    emit onPositionChanged(0);
}

void VideoPlayer::updateDuration()
{
    if (!m_project)
        return;
    qint64 duration = 0;
    if (!m_item || m_project->indexOf(m_item) < 0)
        duration = m_project->totalDuration();
    else if (m_captionOnly)
        duration = m_item->textAnimationDuration();
    else
        duration = m_item->duration(m_project->transition_time_ms);
    if (duration == m_duration)
        return;
    m_duration = duration;
    emit durationChanged(duration);
}

void VideoPlayer::play()
{
    if (isActive())
        return;
    m_position = 0;
    m_paused = false;
    m_tickTimer->start();
    m_lastTick = m_now();
    emit started();
}

void VideoPlayer::tick()
{
    if (m_generating || m_paused)
        return;
    const qint64 now = m_now();
    qint64 elapsed = now - m_lastTick;
    if (elapsed < 0 || elapsed > kMaxStepMs)
        elapsed = kStepAfterGapMs;
    m_lastTick = now;
    m_position += elapsed;
    emit onPositionChanged(m_position);
    update();
}

void VideoPlayer::setPaused(bool paused)
{
    if (!paused)
        m_lastTick = m_now();
    m_paused = paused;
}

void VideoPlayer::setPosition(qint64 ms)
{
    m_position = ms;
    emit onPositionChanged(ms);
    update();
}

void VideoPlayer::stop()
{
    if (m_generator)
        m_generator->stop();
    m_paused = false;
    m_tickTimer->stop();
    m_position = 0;
    endGenerating();
    update();
    emit onPositionChanged(0);
    emit stopped();
}

void VideoPlayer::clear()
{
    m_lastFrame = QImage();
    m_stillImage = QImage();
    if (m_duration != 0) {
        m_duration = 0;
        emit durationChanged(0);
    }
    // Paused counts too: a paused player left running would play the next preview
    // under a released play button.
    if (isActive())
        stop();
    endGenerating();
    update();
}

void VideoPlayer::showImage(const QImage& image)
{
    if (isPlaying())
        return;
    if (m_paused)
        stop();
    m_lastFrame = QImage();
    m_stillImage = image;
    endGenerating();
    update();
}

void VideoPlayer::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton && isEnabled()) {
        emit playerClicked();
        return;
    }
    event->ignore();
}

QImage VideoPlayer::frameAtClock()
{
    bool finished = true;
    QImage frame;
    if (m_generator && !m_noPass)
        frame = m_generator->frameAt(m_position * 10000, &finished);
    if (!frame.isNull()) {
        endGenerating();
        m_lastFrame = frame;
        return frame;
    }
    if (finished) {
        stop();
        return QImage();
    }
    if (!m_generating) {
        m_generating = true;
        emit generatingStarted();
    }
    return QImage();
}

QImage VideoPlayer::currentPicture()
{
    if (!m_stillImage.isNull())
        return m_stillImage;
    if (!isPlaying())
        return m_lastFrame;
    return frameAtClock();
}

void VideoPlayer::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setOpacity(m_disabledLook->opacity());
    painter.fillRect(rect(), currentPalette()->color(kBackgroundRole));
    const QImage picture = currentPicture();
    if (picture.isNull())
        return;
    const QSize size = picture.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawImage(at, fitted(picture, size));
}

const QImage& VideoPlayer::fitted(const QImage& picture, const QSize& size)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    if (picture.cacheKey() == m_fittedSource && m_fitted.size() == pixels
        && qFuzzyCompare(m_fitted.devicePixelRatioF(), ratio))
        return m_fitted;
    const QImage::Format format =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    // The buffer is kept from frame to frame: a new one per frame costs more than its scaling.
    if (m_fitted.size() != pixels || m_fitted.format() != format)
        m_fitted = QImage(pixels, format);
    QPainter painter(&m_fitted);
    // The picture covers the whole buffer: it replaces the last one, with no clearing first.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(m_fitted.rect(), picture);
    painter.end();
    m_fitted.setDevicePixelRatio(ratio);
    m_fittedSource = picture.cacheKey();
    return m_fitted;
}
