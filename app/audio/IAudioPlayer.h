#pragma once

#include <QMediaPlayer>
#include <QObject>
#include <QUrl>

// A media player with its own playlist: what Mp3 drives. QtAudioPlayer in the program.
class IAudioPlayer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual QMediaPlayer::State state() const = 0;
    virtual QMediaPlayer::MediaStatus mediaStatus() const = 0;
    virtual qint64 position() const = 0;
    virtual void setPosition(qint64 positionMs) = 0;
    virtual void setVolume(int volume) = 0;

    virtual void clearPlaylist() = 0;
    virtual bool addMedia(const QUrl& url) = 0;
    virtual void setLoop(bool loop) = 0;
    virtual bool isLoop() const = 0;
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;

signals:
    void stateChanged(QMediaPlayer::State state);
    void mediaStatusChanged(QMediaPlayer::MediaStatus status);
    void positionChanged(qint64 positionMs);
};
