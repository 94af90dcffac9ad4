#include "support/FakeAudioPlayer.h"

void FakeAudioPlayer::play()
{
    ++plays;
    setState(QMediaPlayer::PlayingState);
}

void FakeAudioPlayer::pause()
{
    setState(QMediaPlayer::PausedState);
}

void FakeAudioPlayer::stop()
{
    m_position = 0;
    setState(QMediaPlayer::StoppedState);
}

void FakeAudioPlayer::setPosition(qint64 positionMs)
{
    ++seeks;
    if (dropsEarlySeeks && m_status != QMediaPlayer::LoadedMedia)
        return;
    m_position = positionMs;
}

void FakeAudioPlayer::clearPlaylist()
{
    media.clear();
    m_index = -1;
    m_status = QMediaPlayer::NoMedia;
}

bool FakeAudioPlayer::addMedia(const QUrl& url)
{
    if (refusesMedia)
        return false;
    media << url;
    if (m_index < 0)
        m_index = 0;
    return true;
}

void FakeAudioPlayer::setCurrentIndex(int index)
{
    if (index == m_index)
        return;
    m_index = index;
    m_position = 0;
    m_status = QMediaPlayer::LoadingMedia;
    emit mediaStatusChanged(m_status);
}

void FakeAudioPlayer::finishLoading()
{
    m_status = QMediaPlayer::LoadedMedia;
    emit mediaStatusChanged(m_status);
}

void FakeAudioPlayer::advance(qint64 ms)
{
    m_position += ms;
    emit positionChanged(m_position);
}

void FakeAudioPlayer::setState(QMediaPlayer::State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}
