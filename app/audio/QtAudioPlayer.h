#pragma once

#include "app/audio/IAudioPlayer.h"

class QMediaPlaylist;

// The player of Qt Multimedia with a playlist of its own.
class QtAudioPlayer : public IAudioPlayer
{
    Q_OBJECT

public:
    explicit QtAudioPlayer(QObject* parent = nullptr);

    void play() override;
    void pause() override;
    void stop() override;
    QMediaPlayer::State state() const override;
    QMediaPlayer::MediaStatus mediaStatus() const override;
    qint64 position() const override;
    void setPosition(qint64 positionMs) override;
    void setVolume(int volume) override;

    void clearPlaylist() override;
    bool addMedia(const QUrl& url) override;
    void setLoop(bool loop) override;
    bool isLoop() const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;

private:
    QMediaPlayer* m_player;
    QMediaPlaylist* m_playlist;
};
