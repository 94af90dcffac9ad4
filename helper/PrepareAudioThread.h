#pragma once

#include "helper/EncodeUtil.h"
#include "model/AudioTrack.h"

#include <QList>
#include <QThread>

#include <atomic>

class ProjectFile;

// Builds a project's sound track on its own thread while the frames are rendered:
// the tracks joined and cut to the show's length, looped, delayed and faded as the
// project says.
class PrepareAudioThread : public QThread
{
    Q_OBJECT

public:
    // workFolder: the render job's folder, whose "video" folder takes the sound files.
    // The project must outlive the thread; it is only read.
    PrepareAudioThread(const ProjectFile* project, const QList<AudioTrack>& tracks,
                       const QString& workFolder, const EncodeUtil& util,
                       QObject* parent = nullptr);

    // The sound track; no file exists there when none could be made or the thread was
    // stopped. Empty until run ends.
    QString resultPath() const { return m_resultPath; }
    // Ends the running program at once and skips the steps left; any thread may call it.
    void requestStop() { m_stopped = true; }

protected:
    void run() override;

private:
    QList<AudioTrack> m_tracks;
    QString m_resultPath;
    QString m_workFolder;
    const ProjectFile* m_project;
    EncodeUtil m_util;
    std::atomic_bool m_stopped{false};
};
