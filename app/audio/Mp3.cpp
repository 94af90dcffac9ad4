#include "app/audio/Mp3.h"

#include "app/audio/QtAudioPlayer.h"

#include <QFileInfo>
#include <QUrl>

namespace {

bool isMediaLoaded(QMediaPlayer::MediaStatus status)
{
    return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia
        || status == QMediaPlayer::BufferingMedia;
}

// Tracks of no known length take no time.
qint64 lengthOf(const AudioTrack& track)
{
    return qMax<qint64>(track.duration_ms, 0);
}

} // namespace

Mp3::Mp3(QObject* parent) : Mp3(new QtAudioPlayer, parent)
{
}

Mp3::Mp3(IAudioPlayer* player, QObject* parent) : QObject(parent), m_player(player)
{
    m_player->setParent(this);
    connect(m_player, &IAudioPlayer::stateChanged, this, &Mp3::playStateChanged);
    connect(m_player, &IAudioPlayer::positionChanged, this,
            [this](qint64 positionMs) { emit positionChanged(positionMs); });
    connect(m_player, &IAudioPlayer::mediaStatusChanged, this, &Mp3::applyPendingSeek);
}

Mp3::~Mp3()
{
    m_player->disconnect(this);
    m_player->stop();
    m_player->clearPlaylist();
    m_loaded = false;
}

bool Mp3::load(const QList<AudioTrack>& tracks, bool loop)
{
    m_player->stop();
    m_player->clearPlaylist();
    m_loaded = false;
    m_seekMs = -1;
    m_tracks.clear();
    for (const AudioTrack& track : tracks) {
        if (!QFileInfo::exists(track.wavFileName))
            continue;
        if (!m_player->addMedia(QUrl::fromLocalFile(track.wavFileName))) {
            m_player->clearPlaylist();
            m_tracks.clear();
            return false;
        }
        m_tracks << track;
    }
    if (m_tracks.isEmpty())
        return false;
    m_player->setLoop(loop);
    m_loaded = true;
    return true;
}

bool Mp3::play(qint64 positionMs)
{
    if (!m_loaded)
        return false;
    if (m_player->state() != QMediaPlayer::StoppedState)
        m_player->stop();
    m_seekMs = -1;
    if (positionMs < 0)
        return true;
    if (positionMs == 0) {
        start(0, 0);
        return true;
    }
    qint64 total = 0;
    for (const AudioTrack& track : qAsConst(m_tracks))
        total += lengthOf(track);
    if (total == 0 || (!m_player->isLoop() && positionMs >= total))
        return true;
    qint64 rest = positionMs % total;
    int index = 0;
    while (rest >= lengthOf(m_tracks.at(index))) {
        rest -= lengthOf(m_tracks.at(index));
        ++index;
    }
    start(index, rest);
    return true;
}

void Mp3::start(int index, qint64 positionMs)
{
    m_player->setCurrentIndex(index);
    m_player->setPosition(positionMs);
    if (positionMs > 0 && !isMediaLoaded(m_player->mediaStatus())) {
        m_seekIndex = index;
        m_seekMs = positionMs;
    }
    m_player->play();
}

void Mp3::applyPendingSeek(QMediaPlayer::MediaStatus status)
{
    if (m_seekMs < 0 || !isMediaLoaded(status))
        return;
    const qint64 seekMs = m_seekMs;
    m_seekMs = -1;
    if (m_player->currentIndex() == m_seekIndex && m_player->position() < seekMs)
        m_player->setPosition(seekMs);
}

bool Mp3::pause()
{
    if (!m_loaded)
        return false;
    m_player->pause();
    return true;
}

bool Mp3::stop()
{
    if (!m_loaded)
        return false;
    m_seekMs = -1;
    m_player->stop();
    return true;
}

bool Mp3::isLoaded() const
{
    return m_loaded;
}

bool Mp3::isPlaying() const
{
    return m_loaded && m_player->state() == QMediaPlayer::PlayingState;
}

void Mp3::setVolume(int volume)
{
    if (m_loaded)
        m_player->setVolume(volume);
}

qint64 Mp3::position() const
{
    return m_loaded ? m_player->position() : -1;
}
