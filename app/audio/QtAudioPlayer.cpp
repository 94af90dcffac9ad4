#include "app/audio/QtAudioPlayer.h"

#include <QMediaPlaylist>

QtAudioPlayer::QtAudioPlayer(QObject* parent)
    : IAudioPlayer(parent), m_player(new QMediaPlayer(this)), m_playlist(new QMediaPlaylist(this))
{
    m_player->setPlaylist(m_playlist);
    connect(m_player, &QMediaPlayer::stateChanged, this, &IAudioPlayer::stateChanged);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &IAudioPlayer::mediaStatusChanged);
    connect(m_player, &QMediaPlayer::positionChanged, this, &IAudioPlayer::positionChanged);
}

void QtAudioPlayer::play()
{
    m_player->play();
}

void QtAudioPlayer::pause()
{
    m_player->pause();
}

void QtAudioPlayer::stop()
{
    m_player->stop();
}

QMediaPlayer::State QtAudioPlayer::state() const
{
    return m_player->state();
}

QMediaPlayer::MediaStatus QtAudioPlayer::mediaStatus() const
{
    return m_player->mediaStatus();
}

qint64 QtAudioPlayer::position() const
{
    return m_player->position();
}

void QtAudioPlayer::setPosition(qint64 positionMs)
{
    m_player->setPosition(positionMs);
}

void QtAudioPlayer::setVolume(int volume)
{
    m_player->setVolume(volume);
}

void QtAudioPlayer::clearPlaylist()
{
    m_playlist->clear();
}

bool QtAudioPlayer::addMedia(const QUrl& url)
{
    return m_playlist->addMedia(QMediaContent(url));
}

void QtAudioPlayer::setLoop(bool loop)
{
    m_playlist->setPlaybackMode(loop ? QMediaPlaylist::Loop : QMediaPlaylist::Sequential);
}

bool QtAudioPlayer::isLoop() const
{
    return m_playlist->playbackMode() == QMediaPlaylist::Loop;
}

int QtAudioPlayer::currentIndex() const
{
    return m_playlist->currentIndex();
}

void QtAudioPlayer::setCurrentIndex(int index)
{
    m_playlist->setCurrentIndex(index);
}
