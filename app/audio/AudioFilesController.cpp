#include "app/audio/AudioFilesController.h"

#include "app/audio/AudioProbe.h"
#include "app/audio/Mp3.h"
#include "app/audio/WavConversion.h"
#include "model/TimeText.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMimeData>
#include <QUrl>
#include <QtConcurrent>

namespace {

AudioTrack importOneFile(const QString& source, const QString& tempFolder)
{
    AudioTrack track;
    track.fileName = source;
    track.duration_ms = -1;
    track.wavFileName = transcodeToWav(source, tempFolder);
    if (track.wavFileName.isEmpty())
        return track;
    const AudioProbe probe(track.wavFileName);
    if (probe.isValid())
        track.duration_ms = probe.durationMs();
    return track;
}

QString convertOneFile(const QString& source, const QString& tempFolder)
{
    return transcodeToWav(source, tempFolder);
}

// The WAV file a track plays from: kept while it exists, else made again.
QString preparedWav(const AudioFilesController::ConvertWork& convert, const QString& source,
                    const QString& wav, const QString& tempFolder)
{
    if (!wav.isEmpty() && QFileInfo::exists(wav))
        return wav;
    return convert(source, tempFolder);
}

} // namespace

const char* const AudioFilesController::kRowMimeType = "kestrova/slideshow-audio-item-rows";

QStringList audioFileExtensions()
{
    return {"mp3", "m4a", "wav", "wma", "ogg", "flac"};
}

QStringList audioFileNameFilters()
{
    QStringList filters;
    for (const QString& suffix : audioFileExtensions())
        filters << QStringLiteral("*.%1").arg(suffix);
    return filters;
}

AudioFilesController::AudioFilesController(const std::function<QString()>& tempFolder, QObject* parent,
                                           Mp3* player)
    : QAbstractTableModel(parent)
    , m_player(player ? player : new Mp3)
    , m_tempFolder(tempFolder)
    , m_importWork(importOneFile)
    , m_convertWork(convertOneFile)
{
    m_player->setParent(this);
    connect(m_player, &Mp3::playStateChanged, this, &AudioFilesController::onPlayStateChanged);
    connect(m_player, &Mp3::positionChanged, this, [this] {
        if (m_playingRow >= 0)
            refreshRows(m_playingRow, m_playingRow);
    });
}

AudioFilesController::~AudioFilesController()
{
    // A wait under way ends; its import sees this object gone.
    if (m_wait)
        m_wait->quit();
}

void AudioFilesController::setImportWork(const ImportWork& work)
{
    m_importWork = work;
}

void AudioFilesController::setConvertWork(const ConvertWork& work)
{
    m_convertWork = work;
}

void AudioFilesController::setDroppedFiles(const DroppedFiles& files)
{
    m_droppedFiles = files;
}

void AudioFilesController::setNotAllAddedMessage(const std::function<void()>& show)
{
    m_notAllAdded = show;
}

int AudioFilesController::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int AudioFilesController::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant AudioFilesController::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const AudioTrack& track = m_rows.at(index.row()).track;
    const bool playing = index.row() == m_playingRow && m_player->isPlaying();
    switch (index.column()) {
    case 1:
        return QFileInfo(track.fileName).completeBaseName();
    case 2:
        return msecsToMinSecText(playing ? m_player->position() : track.duration_ms);
    case 3:
        return playing;
    default:
        return QVariant();
    }
}

QMimeData* AudioFilesController::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.size() != 1)
        return nullptr;
    auto* mime = new QMimeData;
    mime->setData(kRowMimeType, QByteArray::number(indexes.first().row()));
    return mime;
}

bool AudioFilesController::dropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                        const QModelIndex&)
{
    if (!data || row < 0 || row > m_rows.size())
        return false;
    if (data->hasUrls())
        return dropUrls(data, row);
    if (data->hasFormat(kRowMimeType))
        return moveRow(data, row);
    return false;
}

bool AudioFilesController::dropUrls(const QMimeData* data, int row)
{
    if (!m_droppedFiles)
        return false;
    QStringList files;
    bool itemWithoutAudio = false;
    for (const QUrl& url : data->urls()) {
        const QStringList found = m_droppedFiles(url);
        itemWithoutAudio = itemWithoutAudio || found.isEmpty();
        files += found;
    }
    return addFiles(files, row, itemWithoutAudio) > 0;
}

bool AudioFilesController::moveRow(const QMimeData* data, int row)
{
    bool number = false;
    const int from = QString::fromLatin1(data->data(kRowMimeType)).toInt(&number);
    if (!number || from < 0 || from >= m_rows.size())
        return false;
    stopPlayer();
    const int to = qMin(row, m_rows.size() - 1);
    if (from == to)
        return true;
    // Item models count a destination below the row before it moves.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), from < to ? to + 1 : to);
    m_rows.move(from, to);
    endMoveRows();
    refreshRows(qMin(from, to), qMax(from, to));
    emit audioChanged();
    return true;
}

template<typename T>
bool AudioFilesController::waitFor(const QFuture<T>& future, T* result)
{
    QPointer<AudioFilesController> self(this);
    QFutureWatcher<T> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    if (!future.isFinished()) {
        m_wait = &loop;
        loop.exec();
    }
    // Cancelled, gone, or the loop ended early as the application quits.
    if (!self || m_canceled || !future.isFinished())
        return false;
    *result = future.result();
    return true;
}

int AudioFilesController::importFiles(const QStringList& files, int row)
{
    if (m_busy)
        return 0;
    m_busy = true;
    stopPlayer();
    m_canceled = false;
    emit importStarted();
    const QString tempFolder = m_tempFolder ? m_tempFolder() : QString();
    QPointer<AudioFilesController> self(this);
    QList<AudioTrack> gathered;
    for (int i = 0; i < files.size(); ++i) {
        emit importProgressChanged((100 / files.size()) * i, 0);
        AudioTrack track;
        if (!waitFor(QtConcurrent::run(m_importWork, files.at(i), tempFolder), &track))
            break;
        if (track.duration_ms >= 0)
            gathered << track;
    }
    if (!self)
        return 0;
    m_busy = false;
    if (!gathered.isEmpty()) {
        appendRows(gathered, row);
        emit audioChanged();
    }
    emit importFinished();
    return gathered.size();
}

int AudioFilesController::addFiles(const QStringList& files, int row, bool leftOut)
{
    QPointer<AudioFilesController> self(this);
    const int added = importFiles(files, row);
    if (self && !m_canceled && (added < files.size() || leftOut) && m_notAllAdded)
        m_notAllAdded();
    return added;
}

void AudioFilesController::appendRows(const QList<AudioTrack>& tracks, int row)
{
    // Rows may have gone while the import waited.
    const int at = row < 0 ? m_rows.size() : qMin(row, m_rows.size());
    beginInsertRows(QModelIndex(), at, at + tracks.size() - 1);
    for (int i = 0; i < tracks.size(); ++i)
        m_rows.insert(at + i, Row {tracks.at(i), m_nextKey++});
    endInsertRows();
    if (at + tracks.size() < m_rows.size())
        refreshRows(at + tracks.size(), m_rows.size() - 1);
}

void AudioFilesController::prepareWavFiles()
{
    if (m_busy || m_rows.isEmpty())
        return;
    m_busy = true;
    m_canceled = false;
    emit importStarted();
    const QString tempFolder = m_tempFolder ? m_tempFolder() : QString();
    const QList<Row> snapshot = m_rows;
    QPointer<AudioFilesController> self(this);
    for (int i = 0; i < snapshot.size(); ++i) {
        emit importProgressChanged((100 / snapshot.size()) * i, 0);
        const AudioTrack& track = snapshot.at(i).track;
        QString wav;
        if (!waitFor(QtConcurrent::run(preparedWav, m_convertWork, track.fileName, track.wavFileName,
                                       tempFolder),
                     &wav))
            break;
        const int row = rowOfKey(snapshot.at(i).key);
        if (row >= 0)
            m_rows[row].track.wavFileName = wav;
    }
    if (!self)
        return;
    m_busy = false;
    emit importFinished();
}

int AudioFilesController::rowOfKey(quint64 key) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).key == key)
            return i;
    }
    return -1;
}

void AudioFilesController::cancelImport()
{
    m_canceled = true;
    if (m_wait)
        m_wait->quit();
}

void AudioFilesController::removeTrack(const QModelIndex& index)
{
    const int row = index.row();
    if (!index.isValid() || row >= m_rows.size())
        return;
    stopPlayer();
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    if (row < m_rows.size())
        refreshRows(row, m_rows.size() - 1);
    emit audioChanged();
}

void AudioFilesController::togglePlay(const QModelIndex& index)
{
    const int row = index.row();
    if (!index.isValid() || row >= m_rows.size())
        return;
    const bool wasPlaying = m_player->isPlaying();
    const int marked = m_playingRow;
    stopPlayer();
    if (marked == row && wasPlaying)
        return;
    if (marked != row && !m_player->load({m_rows.at(row).track}, false))
        return;
    m_playingRow = row;
    m_player->play(0);
    refreshRows(row, row);
}

void AudioFilesController::setTracks(const QList<AudioTrack>& tracks)
{
    stopPlayer();
    beginResetModel();
    m_rows.clear();
    for (const AudioTrack& track : tracks)
        m_rows << Row {track, m_nextKey++};
    endResetModel();
    emit audioChanged();
}

QList<AudioTrack> AudioFilesController::tracks() const
{
    QList<AudioTrack> list;
    for (const Row& row : m_rows)
        list << row.track;
    return list;
}

qint64 AudioFilesController::totalDuration() const
{
    qint64 total = 0;
    for (const Row& row : m_rows)
        total += row.track.duration_ms;
    return total;
}

void AudioFilesController::setOffset(int offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    emit audioChanged();
}

void AudioFilesController::setFade(int fade)
{
    if (fade == m_fade)
        return;
    m_fade = fade;
    emit audioChanged();
}

void AudioFilesController::setLoop(bool loop)
{
    if (loop == m_loop)
        return;
    m_loop = loop;
    emit audioChanged();
}

void AudioFilesController::setVolume(int volume)
{
    m_player->setVolume(volume);
}

void AudioFilesController::stop()
{
    m_player->stop();
}

void AudioFilesController::stopPlayer()
{
    m_player->stop();
    onPlayStateChanged();
}

void AudioFilesController::onPlayStateChanged()
{
    if (m_player->isPlaying() || m_playingRow < 0)
        return;
    const int row = m_playingRow;
    m_playingRow = -1;
    if (row < m_rows.size())
        refreshRows(row, row);
}

void AudioFilesController::refreshRows(int first, int last)
{
    emit dataChanged(index(first, 0), index(last, 0), {Qt::DisplayRole});
}
