#pragma once

#include "model/AudioTrack.h"
#include "model/MotionType.h"
#include "model/Resolution.h"
#include "model/SlideText.h"
#include "model/transition/TransitionType.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QStringList>

class ProjectItem;
class ProjectItemColor;

// The settings of a project, read and written directly by its editors;
// copied whole when a project is cloned.
struct ProjectSettings
{
    QString file_name; // output video
    QString format;    // output container as a file extension, without the dot
    Resolution resolution;
    QString name = QStringLiteral("Новый проект");
    int transition_time_ms = 3000;
    int audio_fade = 0; // seconds
    bool blur_background = false;
    bool scale_to_fit = false;
    int project_loop = 1;
    int fps = 30;
    bool audio_loop = false;
    int audio_offset = 0; // seconds; above 0 delays the music, below 0 skips into it
    int defaultTime_ms = 3000;
    int defaultTransition = TransitionRandom;
    int defaultMotion = MotionRandom;
    QList<AudioTrack> audio_files;
};

// A slideshow project: its settings, music and ordered slides, which it owns.
class ProjectFile : public QObject, public ProjectSettings
{
    Q_OBJECT

public:
    // Starts with a title slide of that time when it is above 0.
    explicit ProjectFile(int starterTime_ms = 0, QObject* parent = nullptr);
    ~ProjectFile() override;

    static ProjectFile* create(int starterTime_ms = 0, QObject* parent = nullptr);
    // Null when the document has no valid "resolution" or a slide of unknown type.
    static ProjectFile* fromJson(const QJsonObject& document);
    enum class LoadError { None, Unreadable, NotJson, NotProject };
    // Null when the file cannot be read or holds no project; error, when given, says which.
    static ProjectFile* load(const QString& path, LoadError* error = nullptr);

    QJsonObject toJson() const;
    // Replaces the file only once the whole document is written; false on failure.
    bool save(const QString& path) const;
    QString contentHash() const;
    // Keeps the project as the only file of the autosave folder, named by its content hash; the
    // previous file goes only once this one is written. False when it cannot be written.
    bool saveAsLatest() const;
    ProjectFile* clone() const;
    // A clone with only the file slides whose files exist.
    ProjectFile* cloneExisting() const;

    const QList<ProjectItem*>& items() const { return m_items; }
    int itemCount() const { return m_items.size(); }
    ProjectItem* item(int index) const;
    int indexOf(const ProjectItem* item) const;
    bool isFirstItem(const ProjectItem* item) const;
    QString itemNumberText(const ProjectItem* item) const;
    void insertItems(const QList<ProjectItem*>& items, int position);
    void removeItem(ProjectItem* item);
    int clearSlides();
    void moveItemUp(ProjectItem* item);
    void moveItemDown(ProjectItem* item);
    void moveItems(const QList<int>& rows, int targetRow);
    void shuffleItems();
    void sortByName(bool ascending);
    void sortByDate(bool newestFirst);
    void resetImageCaches();
    void setDefaultText(const SlideText& caption);

    qint64 totalDuration() const;
    // The whole video: totalDuration times "project_loop" (when above 1), at most the
    // largest 64-bit value.
    qint64 loopedDuration() const;
    qint64 startTimeOf(const ProjectItem* item) const;
    qint64 durationFrom(const ProjectItem* item, bool single = false, bool captionOnly = false) const;

    bool allFilesExist() const;
    QStringList missingFiles() const;
    static bool containsSupportedImages(const QStringList& paths);
    // Appends a photo slide for the image, or for each image directly in the folder.
    // A maxCount of 0 or more stops once the list holds that many slides and sets
    // *stopped.
    void collectImageItems(const QString& path, int time_ms, int transition,
                           QList<ProjectItem*>& items, int maxCount = -1,
                           bool* stopped = nullptr) const;
    static ProjectItemColor* createColorItem(int backgroundIndex, int time_ms, int transition);

    SlideText defaultText; // the caption of new photo slides; not in the document

private:
    ProjectFile* cloneWith(bool existingFilesOnly) const;
    qint64 durationOfRange(int first, int end) const;
    template<typename Key, typename Before>
    void sortAfterFirst(Key key, Before before);

    QList<ProjectItem*> m_items;
};
