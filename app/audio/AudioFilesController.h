#pragma once

#include "model/AudioTrack.h"

#include <QAbstractTableModel>
#include <QFuture>
#include <QPointer>
#include <QStringList>

#include <functional>

class Mp3;
class QEventLoop;

// The music file suffixes the program takes, and their open-dialog filters ("*.mp3").
QStringList audioFileExtensions();
QStringList audioFileNameFilters();

// The music tracks of the open project as a table: row number, name, length (or the
// playing position), playing flag. Imports convert each file to WAV in a pool task while
// the GUI thread keeps handling events; one import or preparation runs at a time.
class AudioFilesController : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The WAV file and length of one imported file; a negative length drops it.
    using ImportWork = std::function<AudioTrack(const QString& source, const QString& tempFolder)>;
    // The WAV file made from a source, empty on failure.
    using ConvertWork = std::function<QString(const QString& source, const QString& tempFolder)>;
    // The audio files of one dropped item (a file, or the files of a folder).
    using DroppedFiles = std::function<QStringList(const QUrl& url)>;

    static const char* const kRowMimeType;

    // tempFolder gives the per-run temporary folder, on the GUI thread. The player,
    // when given, becomes a child.
    explicit AudioFilesController(const std::function<QString()>& tempFolder,
                                  QObject* parent = nullptr, Mp3* player = nullptr);
    ~AudioFilesController() override;

    void setImportWork(const ImportWork& work);
    void setConvertWork(const ConvertWork& work);
    void setDroppedFiles(const DroppedFiles& files);
    // Shown when addFiles added fewer tracks than it was given.
    void setNotAllAddedMessage(const std::function<void()>& show);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // The number of tracks added at row (the end when negative).
    int importFiles(const QStringList& files, int row);
    // importFiles, then the not-all-added message when some were not added or, with leftOut,
    // when the caller left something out; a cancelled import tells nothing.
    int addFiles(const QStringList& files, int row, bool leftOut = false);
    // Converts again the tracks whose WAV file is gone.
    void prepareWavFiles();
    void cancelImport();
    void removeTrack(const QModelIndex& index);
    void togglePlay(const QModelIndex& index);

    void setTracks(const QList<AudioTrack>& tracks);
    QList<AudioTrack> tracks() const;
    qint64 totalDuration() const;

    int offset() const { return m_offset; }
    void setOffset(int offset);
    void setOffsetSilently(int offset) { m_offset = offset; }
    int fade() const { return m_fade; }
    void setFade(int fade);
    void setFadeSilently(int fade) { m_fade = fade; }
    bool isLoop() const { return m_loop; }
    void setLoop(bool loop);
    void setLoopSilently(bool loop) { m_loop = loop; }

    void setVolume(int volume);
    void stop();

signals:
    void importStarted();
    void importProgressChanged(int val, qlonglong remaining);
    void importFinished();
    void audioChanged();

private:
    struct Row
    {
        AudioTrack track;
        quint64 key; // tells a row apart while rows move during a wait
    };

    template<typename T>
    bool waitFor(const QFuture<T>& future, T* result);
    bool moveRow(const QMimeData* data, int row);
    bool dropUrls(const QMimeData* data, int row);
    void refreshRows(int first, int last);
    void stopPlayer();
    void onPlayStateChanged();
    int rowOfKey(quint64 key) const;
    void appendRows(const QList<AudioTrack>& tracks, int row);

    QList<Row> m_rows;
    Mp3* m_player;
    int m_playingRow = -1;
    int m_offset = 0;
    int m_fade = 0;
    bool m_loop = false;
    bool m_canceled = false;
    bool m_busy = false;
    quint64 m_nextKey = 0;
    QPointer<QEventLoop> m_wait;
    std::function<QString()> m_tempFolder;
    ImportWork m_importWork;
    ConvertWork m_convertWork;
    DroppedFiles m_droppedFiles;
    std::function<void()> m_notAllAdded;
};
