#pragma once

#include "app/audio/IAudioPlayer.h"

#include <QList>

// A player that plays nothing: it keeps what it is told and reports state changes.
// Like some real back-ends, it can drop a seek made before its media has loaded.
class FakeAudioPlayer : public IAudioPlayer
{
    Q_OBJECT

public:
    using IAudioPlayer::IAudioPlayer;

    void play() override;
    void pause() override;
    void stop() override;
    QMediaPlayer::State state() const override { return m_state; }
    QMediaPlayer::MediaStatus mediaStatus() const override { return m_status; }
    qint64 position() const override { return m_position; }
    void setPosition(qint64 positionMs) override;
    void setVolume(int volume) override { m_volume = volume; }

    void clearPlaylist() override;
    bool addMedia(const QUrl& url) override;
    void setLoop(bool loop) override { m_loop = loop; }
    bool isLoop() const override { return m_loop; }
    int currentIndex() const override { return m_index; }
    void setCurrentIndex(int index) override;

    // The media finished loading.
    void finishLoading();
    // Playback moved on by the given time.
    void advance(qint64 ms);

    QList<QUrl> media;
    int volume() const { return m_volume; }
    int plays = 0;
    int seeks = 0;
    bool dropsEarlySeeks = false;
    bool refusesMedia = false;

private:
    void setState(QMediaPlayer::State state);

    QMediaPlayer::State m_state = QMediaPlayer::StoppedState;
    QMediaPlayer::MediaStatus m_status = QMediaPlayer::NoMedia;
    qint64 m_position = 0;
    int m_volume = 100;
    bool m_loop = false;
    int m_index = -1;
};
