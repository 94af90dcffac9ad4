#include "app/audio/WavConversion.h"

#include "app/audio/AudioProbe.h"
#include "platform/ToolPaths.h"
#include "platform/ToolRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QWaitCondition>

#include <atomic>

namespace {

constexpr int kMaxWavFiles = 1024;

// The WAV folder of the run and the conversions under way.
struct WavRun
{
    QMutex mutex;
    QWaitCondition idle;
    bool folderSet = false;
    QString folder;
    QSet<QString> reserved; // names being written
    int running = 0;
    // Advanced when a run ends: conversions of an older run stop.
    std::atomic<int> generation {0};
};

WavRun& wavRun()
{
    static WavRun run;
    return run;
}

void removeWavFiles(const QString& folder)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.wav")}, QDir::Files | QDir::System))
        QFile::remove(dir.filePath(name));
}

// Sets the folder up on the first call of a run; false when it cannot be made.
bool setUpFolder(WavRun& run, const QString& tempFolder)
{
    run.folderSet = true;
    run.folder = QDir::cleanPath(tempFolder + QStringLiteral("/WavTempDir"));
    if (!QDir().mkpath(run.folder))
        return false;
    removeWavFiles(run.folder);
    return true;
}

// A free WAV name, reserved until releaseWavName; empty when there is none or the run
// of the conversion has ended.
QString reserveWavName(const QString& tempFolder, int generation)
{
    WavRun& run = wavRun();
    QMutexLocker lock(&run.mutex);
    if (generation != run.generation)
        return QString();
    if (!run.folderSet && !setUpFolder(run, tempFolder))
        return QString();
    for (int i = 0; i < kMaxWavFiles; ++i) {
        const QString name = QStringLiteral("%1/file_%2.wav").arg(run.folder).arg(i);
        if (run.reserved.contains(name) || QFileInfo::exists(name))
            continue;
        run.reserved.insert(name);
        ++run.running;
        return name;
    }
    return QString();
}

void releaseWavName(const QString& name)
{
    WavRun& run = wavRun();
    QMutexLocker lock(&run.mutex);
    run.reserved.remove(name);
    if (--run.running == 0)
        run.idle.wakeAll();
}

// Under the run's mutex: the running conversions stop at their next check.
void endConversions(WavRun& run)
{
    ++run.generation;
    while (run.running > 0)
        run.idle.wait(&run.mutex);
}

bool runTool(const QString& name, const QStringList& arguments, const QString& programFolder,
             int generation)
{
    const QString folder =
        programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    const QString program = ToolPaths::find(name, folder);
    if (program.isEmpty())
        return false;
    const ToolRun::StopCheck runEnded = [generation] { return wavRun().generation != generation; };
    return ToolRun::run(program, arguments, folder, ToolRun::NoLimit, nullptr, runEnded) == 0;
}

bool runConverter(bool mediaFoundation, const QString& source, const QString& wav,
                  const QString& programFolder, int generation)
{
    if (mediaFoundation)
        return runTool(QStringLiteral("ty_convert"), {source, wav}, programFolder, generation);
    return runTool(QStringLiteral("ffmpeg"), {QStringLiteral("-i"), source, wav}, programFolder,
                   generation);
}

} // namespace

QString transcodeToWav(const QString& source, const QString& tempFolder, const QString& programFolder)
{
    const int generation = wavRun().generation;
    bool mediaFoundation = false;
    {
        const AudioProbe probe(source);
        if (!probe.isValid())
            return source;
        mediaFoundation = probe.isMediaFoundationCodec();
    }
    const QString wav = reserveWavName(tempFolder, generation);
    if (wav.isEmpty())
        return QString();
    const bool converted = runConverter(mediaFoundation, source, wav, programFolder, generation);
    if (!converted)
        QFile::remove(wav); // a broken part of a file
    releaseWavName(wav);
    return converted ? wav : QString();
}

void endWavConversions()
{
    WavRun& run = wavRun();
    QMutexLocker lock(&run.mutex);
    endConversions(run);
}

void cleanupWavTempDir()
{
    WavRun& run = wavRun();
    QMutexLocker lock(&run.mutex);
    endConversions(run);
    if (!run.folderSet)
        return;
    removeWavFiles(run.folder);
    run.folderSet = false;
    run.folder.clear();
}

bool runConverterProgram(const QString& source, const QString& wav, const QString& programFolder)
{
    return runConverter(true, source, wav, programFolder, wavRun().generation);
}

bool runFfmpegProgram(const QString& source, const QString& wav, const QString& programFolder)
{
    return runConverter(false, source, wav, programFolder, wavRun().generation);
}
