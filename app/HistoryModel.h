#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <memory>
#include <vector>

class ProjectFile;

// The composed projects, newest first, kept in the history file of the user's
// configuration folder. A project is known by its output file name, in any letter case.
// Rows: Qt::UserRole gives the ProjectFile*; the display role gives the output file's
// creation time (column 0, invalid once the file is gone) and its name (column 1).
class HistoryModel : public QAbstractTableModel
{
public:
    // Loads the history file; one that cannot be read, or of another version, gives none.
    explicit HistoryModel(QObject* parent = nullptr);
    ~HistoryModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Keeps a copy: a new name goes first, a known one replaces its entry in place.
    void addProject(ProjectFile* project);
    void removeProject(const QString& fileName);
    // Removes every entry and the history file.
    void clear();
    // The entry of that output file, still owned by the model; null when there is none.
    ProjectFile* project(const QString& fileName) const;

    // "<config>/<application name>/project_history.json"; its folder is made when missing.
    static QString historyFile();

private:
    int rowOf(const QString& fileName) const;
    void load();
    void save();

    std::vector<std::unique_ptr<ProjectFile>> m_projects;
};
