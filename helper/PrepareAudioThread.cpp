#include "helper/PrepareAudioThread.h"

#include "model/ProjectFile.h"

#include <QFileInfo>


PrepareAudioThread::PrepareAudioThread(const ProjectFile* project, const QList<AudioTrack>& tracks,
                                       const QString& workFolder, const EncodeUtil& util,
                                       QObject* parent)
    : QThread(parent), m_tracks(tracks), m_workFolder(workFolder), m_project(project), m_util(util)
{
    m_util.setStopCheck([this] { return m_stopped.load(); });
}

void PrepareAudioThread::run()
{
    const qint64 lengthMs = m_project->loopedDuration();
    const int offset = m_project->audio_offset;
    const int fade = m_project->audio_fade;
    // Each step goes on only with the sound of the one before, and not once stopped.
    const auto goOn = [this](const QString& sound) { return !m_stopped && QFileInfo::exists(sound); };

    QStringList wavFiles;
    for (const AudioTrack& track : qAsConst(m_tracks))
        wavFiles << track.wavFileName;
    QString sound = m_util.buildAudioStream(wavFiles, m_workFolder, offset, lengthMs);
    if (goOn(sound) && m_project->audio_loop) {
        sound = m_util.loopToLength(sound, lengthMs,
                                    m_workFolder + QStringLiteral("/video/audio_stream_looped.wav"));
    }
    if (goOn(sound) && (fade > 0 || offset > 0))
        sound = m_util.applyDelayAndFades(sound, lengthMs, fade, offset, m_workFolder);
    m_resultPath = m_stopped ? QString() : sound;
}
