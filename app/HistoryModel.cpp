#include "app/HistoryModel.h"

#include "model/ProjectFile.h"
#include "platform/FileTime.h"
#include "platform/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

namespace {

const QString kVersion = QStringLiteral("first");
const QString kVersionKey = QStringLiteral("version");
const QString kProjectsKey = QStringLiteral("projects");

} // namespace

HistoryModel::HistoryModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    load();
}

HistoryModel::~HistoryModel() = default;

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_projects.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    ProjectFile* project = m_projects[size_t(index.row())].get();
    if (role == Qt::UserRole)
        return QVariant::fromValue(project);
    if (role != Qt::DisplayRole)
        return QVariant();
    const QFileInfo file(project->file_name);
    switch (index.column()) {
    case 0:
        return file.exists() ? FileTime::created(file) : QDateTime();
    case 1:
        return file.fileName();
    default:
        return QVariant();
    }
}

void HistoryModel::addProject(ProjectFile* project)
{
    if (!project || project->file_name.isEmpty())
        return;
    std::unique_ptr<ProjectFile> copy(project->clone());
    const int row = rowOf(project->file_name);
    if (row < 0) {
        beginInsertRows(QModelIndex(), 0, 0);
        m_projects.insert(m_projects.begin(), std::move(copy));
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), row, row);
        std::unique_ptr<ProjectFile> old = std::move(m_projects[size_t(row)]);
        m_projects.erase(m_projects.begin() + row);
        endRemoveRows();
        beginInsertRows(QModelIndex(), row, row);
        m_projects.insert(m_projects.begin() + row, std::move(copy));
        endInsertRows();
    }
    save();
}

void HistoryModel::removeProject(const QString& fileName)
{
    const int row = rowOf(fileName);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_projects.erase(m_projects.begin() + row);
    endRemoveRows();
    save();
}

void HistoryModel::clear()
{
    if (!m_projects.empty()) {
        beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
        m_projects.clear();
        endRemoveRows();
    }
    const QString file = historyFile();
    if (QFile::exists(file))
        QFile::remove(file);
}

ProjectFile* HistoryModel::project(const QString& fileName) const
{
    const int row = rowOf(fileName);
    return row < 0 ? nullptr : m_projects[size_t(row)].get();
}

QString HistoryModel::historyFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1Char('/') + QCoreApplication::applicationName();
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder + QStringLiteral("/project_history.json"));
}

int HistoryModel::rowOf(const QString& fileName) const
{
    for (size_t row = 0; row < m_projects.size(); ++row) {
        if (m_projects[row]->file_name.compare(fileName, Qt::CaseInsensitive) == 0)
            return int(row);
    }
    return -1;
}

void HistoryModel::load()
{
    QFile file(historyFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value(kVersionKey).toString() != kVersion)
        return;
    for (const QJsonValue& entry : root.value(kProjectsKey).toArray()) {
        std::unique_ptr<ProjectFile> project(ProjectFile::fromJson(entry.toObject()));
        if (project)
            m_projects.push_back(std::move(project));
    }
}

// Written whole or not at all: a failed write leaves the old history as it was.
void HistoryModel::save()
{
    if (m_projects.empty()) {
        clear();
        return;
    }
    QJsonArray projects;
    for (const std::unique_ptr<ProjectFile>& project : m_projects)
        projects.append(project->toJson());
    const QJsonObject root{{kVersionKey, kVersion}, {kProjectsKey, projects}};
    WholeFile::write(historyFile(), QJsonDocument(root).toJson(QJsonDocument::Indented));
}
