#pragma once

#include "model/AudioTrack.h"

#include <QList>
#include <QMediaPlayer>
#include <QObject>

class IAudioPlayer;

// Plays the WAV files of a list of music tracks, positioned in milliseconds counted over
// the whole list.
class Mp3 : public QObject
{
    Q_OBJECT

public:
    explicit Mp3(QObject* parent = nullptr);
    // Drives the given player, which becomes a child.
    explicit Mp3(IAudioPlayer* player, QObject* parent = nullptr);
    ~Mp3() override;

    // The tracks whose WAV file exists, in order; false when there is none.
    bool load(const QList<AudioTrack>& tracks, bool loop);
    // Stops, then plays from the position; a negative one only stops.
    bool play(qint64 positionMs);
    bool pause();
    bool stop();
    bool isLoaded() const;
    bool isPlaying() const;
    void setVolume(int volume);
    // Within the current track; -1 when not loaded.
    qint64 position() const;

signals:
    void playStateChanged(QMediaPlayer::State state);
    void positionChanged(qlonglong position);

private:
    void start(int index, qint64 positionMs);
    void applyPendingSeek(QMediaPlayer::MediaStatus status);

    QList<AudioTrack> m_tracks; // those in the playlist
    IAudioPlayer* m_player;
    bool m_loaded = false;
    // A seek made before the media loaded, for players that drop it.
    int m_seekIndex = -1;
    qint64 m_seekMs = -1;
};
