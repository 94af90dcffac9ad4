#include "model/ProjectFile.h"

#include "model/AppPaths.h"
#include "model/picture/ImageLoader.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideBackground.h"
#include "platform/FileTime.h"
#include "platform/WholeFile.h"

#include <QCollator>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

void readIntIfPresent(const QJsonObject& object, const char* key, int& field)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isUndefined())
        field = value.toInt();
}

// A 64-bit decimal integer held in a JSON string, else 0.
qint64 readDecimal(const QJsonValue& value)
{
    bool ok = false;
    const qint64 number = value.toString().toLongLong(&ok, 10);
    return ok ? number : 0;
}

QList<AudioTrack> readTracks(const QJsonArray& files)
{
    QList<AudioTrack> tracks;
    for (const QJsonValue& value : files) {
        const QJsonObject file = value.toObject();
        AudioTrack track;
        track.fileName = file.value(QLatin1String("file_name")).toString();
        track.duration_ms = readDecimal(file.value(QLatin1String("duration")));
        tracks.append(track);
    }
    return tracks;
}

QJsonArray writeTracks(const QList<AudioTrack>& tracks)
{
    QJsonArray files;
    for (const AudioTrack& track : tracks) {
        QJsonObject file;
        file.insert(QLatin1String("file_name"), track.fileName);
        file.insert(QLatin1String("duration"), QString::number(track.duration_ms));
        files.append(file);
    }
    return files;
}

QByteArray documentText(const QJsonObject& object)
{
    return QJsonDocument(object).toJson();
}

QString hashOf(const QByteArray& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
}

const IFileSourceItem* fileSource(const ProjectItem* item)
{
    return dynamic_cast<const IFileSourceItem*>(item);
}

QString resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

QFileInfoList imageEntries(const QString& folder)
{
    return QDir(folder).entryInfoList(supportedImageFilters(), QDir::Files, QDir::Unsorted);
}

// Numeric collation is not available in the C locale, so it collates as US English.
QLocale collationLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : locale;
}

QString nameKey(const ProjectItem* item)
{
    const IFileSourceItem* file = fileSource(item);
    return file ? QFileInfo(file->fileName()).fileName().toLower() : QString();
}

// Creation time in ms since the epoch, the modification time where the file
// system keeps none; the earliest value for slides without a readable file.
qint64 creationKey(const ProjectItem* item)
{
    const IFileSourceItem* file = fileSource(item);
    if (file) {
        const QDateTime time = FileTime::created(QFileInfo(file->fileName()));
        if (time.isValid())
            return time.toMSecsSinceEpoch();
    }
    return std::numeric_limits<qint64>::min();
}

} // namespace

ProjectFile::ProjectFile(int starterTime_ms, QObject* parent)
    : QObject(parent)
    , defaultText(ProjectItemSimple().text())
{
    if (starterTime_ms > 0)
        m_items.append(new ProjectItemFirst(starterTime_ms));
}

ProjectFile::~ProjectFile()
{
    if (m_items.isEmpty())
        return;
    qDeleteAll(m_items.begin() + 1, m_items.end());
    delete m_items.first();
}

ProjectFile* ProjectFile::create(int starterTime_ms, QObject* parent)
{
    return new ProjectFile(starterTime_ms, parent);
}

ProjectFile* ProjectFile::fromJson(const QJsonObject& document)
{
    auto project = std::make_unique<ProjectFile>();
    project->name = document.value(QLatin1String("name")).toString();
    project->file_name = document.value(QLatin1String("file_name")).toString();
    project->format = document.value(QLatin1String("format")).toString();
    project->resolution = Resolution(document.value(QLatin1String("resolution")).toString());
    if (!project->resolution.isValid())
        return nullptr;
    project->blur_background = document.value(QLatin1String("blur_background")).toBool();
    project->scale_to_fit = document.value(QLatin1String("scale_to_fit")).toBool();
    readIntIfPresent(document, "project_loop", project->project_loop);
    readIntIfPresent(document, "defaultTime_ms", project->defaultTime_ms);
    readIntIfPresent(document, "defaultMotion", project->defaultMotion);
    readIntIfPresent(document, "defaultTransition", project->defaultTransition);
    project->fps = 15;
    readIntIfPresent(document, "fps", project->fps);

    const QJsonObject audio = document.value(QLatin1String("audio")).toObject();
    project->audio_offset = audio.value(QLatin1String("offset")).toInt();
    project->audio_loop = audio.value(QLatin1String("loop")).toBool();
    project->audio_fade = audio.value(QLatin1String("fade")).toInt();
    project->audio_files = readTracks(audio.value(QLatin1String("files")).toArray());

    for (const QJsonValue& value : document.value(QLatin1String("images")).toArray()) {
        ProjectItem* item = ProjectItem::fromJson(value.toObject());
        if (!item)
            return nullptr;
        project->m_items.append(item);
    }

    project->transition_time_ms = document.value(QLatin1String("transition_time_ms")).toInt();
    if (project->transition_time_ms == 0)
        project->transition_time_ms = 3000;
    return project.release();
}

ProjectFile* ProjectFile::load(const QString& path, LoadError* error)
{
    LoadError ignored;
    LoadError& result = error ? *error : ignored;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result = LoadError::Unreadable;
        return nullptr;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    file.close();
    if (document.isEmpty()) {
        result = LoadError::NotJson;
        return nullptr;
    }
    ProjectFile* project = fromJson(document.object());
    result = project ? LoadError::None : LoadError::NotProject;
    return project;
}

QJsonObject ProjectFile::toJson() const
{
    QJsonObject document;
    document.insert(QLatin1String("name"), name);
    document.insert(QLatin1String("file_name"), file_name);
    document.insert(QLatin1String("format"), format);
    document.insert(QLatin1String("resolution"), resolution.toString());
    document.insert(QLatin1String("blur_background"), blur_background);
    document.insert(QLatin1String("scale_to_fit"), scale_to_fit);
    document.insert(QLatin1String("project_loop"), project_loop);
    document.insert(QLatin1String("fps"), fps);
    document.insert(QLatin1String("defaultTime_ms"), defaultTime_ms);
    document.insert(QLatin1String("defaultMotion"), defaultMotion);
    document.insert(QLatin1String("defaultTransition"), defaultTransition);

    QJsonObject audio;
    audio.insert(QLatin1String("offset"), audio_offset);
    audio.insert(QLatin1String("loop"), audio_loop);
    audio.insert(QLatin1String("fade"), audio_fade);
    audio.insert(QLatin1String("files"), writeTracks(audio_files));
    document.insert(QLatin1String("audio"), audio);

    QJsonArray images;
    for (const ProjectItem* item : m_items) {
        QJsonObject slide;
        item->writeJson(slide);
        images.append(slide);
    }
    document.insert(QLatin1String("images"), images);
    document.insert(QLatin1String("transition_time_ms"), transition_time_ms);
    return document;
}

bool ProjectFile::save(const QString& path) const
{
    return WholeFile::write(path, documentText(toJson()));
}

QString ProjectFile::contentHash() const
{
    return hashOf(documentText(toJson()));
}

bool ProjectFile::saveAsLatest() const
{
    const QByteArray text = documentText(toJson());
    const QString fileName = hashOf(text) + QStringLiteral(".json");
    const QString folder = AppPaths::latestDir();
    const QString path = QDir::toNativeSeparators(QFileInfo(QDir(folder), fileName).absoluteFilePath());
    // The previous copy goes only once the new one is written.
    if (!WholeFile::write(path, text))
        return false;
    AppPaths::clearDir(folder, fileName);
    return true;
}

ProjectFile* ProjectFile::clone() const
{
    return cloneWith(false);
}

ProjectFile* ProjectFile::cloneExisting() const
{
    return cloneWith(true);
}

ProjectFile* ProjectFile::cloneWith(bool existingFilesOnly) const
{
    auto* copy = new ProjectFile();
    static_cast<ProjectSettings&>(*copy) = *this;
    for (const ProjectItem* item : m_items) {
        if (existingFilesOnly) {
            const IFileSourceItem* file = fileSource(item);
            if (!file || !file->fileExists())
                continue;
        }
        copy->m_items.append(item->clone());
    }
    return copy;
}

ProjectItem* ProjectFile::item(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

int ProjectFile::indexOf(const ProjectItem* item) const
{
    return m_items.indexOf(const_cast<ProjectItem*>(item));
}

bool ProjectFile::isFirstItem(const ProjectItem* item) const
{
    return !m_items.isEmpty() && m_items.first() == item;
}

QString ProjectFile::itemNumberText(const ProjectItem* item) const
{
    if (!item || dynamic_cast<const IStarterItem*>(item))
        return QString();
    const int index = indexOf(item);
    return index < 0 ? QString() : QString::number(index);
}

void ProjectFile::insertItems(const QList<ProjectItem*>& items, int position)
{
    if (position < 0 || position > m_items.size())
        position = m_items.size();
    for (ProjectItem* item : items) {
        // A slide held twice would be deleted twice.
        if (!item || m_items.contains(item))
            continue;
        m_items.insert(position++, item);
    }
}

void ProjectFile::removeItem(ProjectItem* item)
{
    if (!item)
        return;
    m_items.removeOne(item);
    delete item;
}

int ProjectFile::clearSlides()
{
    if (m_items.size() < 2)
        return m_items.size();
    qDeleteAll(m_items.begin() + 1, m_items.end());
    m_items.erase(m_items.begin() + 1, m_items.end());
    return m_items.size();
}

void ProjectFile::moveItemUp(ProjectItem* item)
{
    const int index = indexOf(item);
    if (index > 0)
        m_items.swapItemsAt(index, index - 1);
}

void ProjectFile::moveItemDown(ProjectItem* item)
{
    const int index = indexOf(item);
    if (index >= 0 && index < m_items.size() - 1)
        m_items.swapItemsAt(index, index + 1);
}

void ProjectFile::moveItems(const QList<int>& rows, int targetRow)
{
    // Rows outside the list and repeated rows are ignored; the target never moves.
    QList<ProjectItem*> moving;
    for (int row : rows) {
        ProjectItem* slide = item(row);
        if (slide && row != targetRow && !moving.contains(slide))
            moving.append(slide);
    }
    ProjectItem* anchor = item(targetRow);
    for (ProjectItem* slide : moving)
        m_items.removeOne(slide);
    int position = anchor ? m_items.indexOf(anchor) : m_items.size();
    for (ProjectItem* slide : moving)
        m_items.insert(position++, slide);
}

void ProjectFile::shuffleItems()
{
    if (m_items.size() < 3)
        return;
    std::random_device device;
    std::mt19937 generator(device());
    std::shuffle(m_items.begin() + 1, m_items.end(), generator);
}

template<typename Key, typename Before>
void ProjectFile::sortAfterFirst(Key key, Before before)
{
    using KeyType = decltype(key(nullptr));
    std::vector<std::pair<KeyType, ProjectItem*>> keyed;
    for (int i = 1; i < m_items.size(); ++i)
        keyed.emplace_back(key(m_items.at(i)), m_items.at(i));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const auto& a, const auto& b) { return before(a.first, b.first); });
    for (size_t i = 0; i < keyed.size(); ++i)
        m_items[int(i) + 1] = keyed[i].second;
}

void ProjectFile::sortByName(bool ascending)
{
    QCollator collator(collationLocale());
    collator.setNumericMode(true);
    sortAfterFirst(nameKey, [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return ascending ? order < 0 : order > 0;
    });
}

void ProjectFile::sortByDate(bool newestFirst)
{
    sortAfterFirst(creationKey, [newestFirst](qint64 a, qint64 b) {
        return newestFirst ? a > b : a < b;
    });
}

void ProjectFile::resetImageCaches()
{
    for (ProjectItem* item : qAsConst(m_items))
        if (auto* photo = dynamic_cast<ProjectItemSimple*>(item))
            photo->clearCaches();
}

void ProjectFile::setDefaultText(const SlideText& caption)
{
    defaultText = caption;
    defaultText.text.clear();
    defaultText.changed = false;
}

qint64 ProjectFile::durationOfRange(int first, int end) const
{
    qint64 sum = 0;
    for (int i = first; i < end; ++i)
        sum += m_items.at(i)->duration(transition_time_ms);
    return sum;
}

qint64 ProjectFile::totalDuration() const
{
    return durationOfRange(0, m_items.size());
}

qint64 ProjectFile::loopedDuration() const
{
    const qint64 once = totalDuration();
    const qint64 loops = std::max(project_loop, 1);
    return once > std::numeric_limits<qint64>::max() / loops ? std::numeric_limits<qint64>::max()
                                                             : once * loops;
}

qint64 ProjectFile::startTimeOf(const ProjectItem* item) const
{
    const int index = indexOf(item);
    return index < 0 ? -1 : durationOfRange(0, index);
}

qint64 ProjectFile::durationFrom(const ProjectItem* item, bool single, bool captionOnly) const
{
    if (single) {
        if (!item)
            return -1;
        return captionOnly ? item->textAnimationDuration() : item->duration(transition_time_ms);
    }
    if (!item)
        return totalDuration();
    const int index = indexOf(item);
    return index < 0 ? 0 : durationOfRange(index, m_items.size());
}

bool ProjectFile::allFilesExist() const
{
    return std::all_of(m_items.begin(), m_items.end(), [](const ProjectItem* item) {
        const IFileSourceItem* file = fileSource(item);
        return !file || file->fileExists();
    });
}

QStringList ProjectFile::missingFiles() const
{
    QStringList missing;
    for (const ProjectItem* item : m_items) {
        const IFileSourceItem* file = fileSource(item);
        if (file && !file->fileExists())
            missing.append(file->fileName());
    }
    for (const AudioTrack& track : audio_files)
        if (!QFile::exists(track.fileName))
            missing.append(track.fileName);
    return missing;
}

bool ProjectFile::containsSupportedImages(const QStringList& paths)
{
    return std::any_of(paths.begin(), paths.end(), [](const QString& path) {
        const QFileInfo info(resolvedPath(path));
        if (!info.isDir())
            return info.isFile() && isSupportedImage(info.filePath());
        const QFileInfoList entries = imageEntries(info.filePath());
        return std::any_of(entries.begin(), entries.end(), [](const QFileInfo& entry) {
            return isSupportedImage(entry.filePath());
        });
    });
}

void ProjectFile::collectImageItems(const QString& path, int time_ms, int transition,
                                    QList<ProjectItem*>& items, int maxCount, bool* stopped) const
{
    if (stopped)
        *stopped = false;
    const QString resolved = resolvedPath(path);
    QStringList files;
    if (QFileInfo(resolved).isDir()) {
        for (const QFileInfo& entry : imageEntries(resolved))
            files.append(resolvedPath(entry.filePath()));
    } else {
        files.append(resolved);
    }
    for (const QString& file : qAsConst(files)) {
        if (!isSupportedImage(file))
            continue;
        if (maxCount >= 0 && items.size() >= maxCount) {
            if (stopped)
                *stopped = true;
            return;
        }
        auto* photo = new ProjectItemSimple(file, time_ms, transition);
        photo->setText(defaultText);
        items.append(photo);
    }
}

ProjectItemColor* ProjectFile::createColorItem(int backgroundIndex, int time_ms, int transition)
{
    auto* item = new ProjectItemColor(time_ms, transition);
    item->setBgIndex(backgroundIndex);
    SlideText caption;
    caption.text_color = QColor(backgroundTextColorName(backgroundIndex));
    item->setText(caption);
    return item;
}
