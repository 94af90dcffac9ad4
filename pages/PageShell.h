#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The shell calls and questions the pages make, each through a function that tests replace.
namespace PageShell {

struct Functions
{
    // Selects the file in the file manager.
    std::function<bool(const QString& path)> showInFolder;
    // Opens the file or address with the desktop's program for it.
    std::function<bool(const QString& target)> openUrl;
    // True when the user agreed to clear the project history.
    std::function<bool()> confirmClearHistory;
    // The folder chosen, or empty when the dialog was cancelled.
    std::function<QString(const QString& title, const QString& startFolder)> chooseFolder;
    // The music files chosen, or none when the dialog was cancelled.
    std::function<QStringList()> chooseAudioFiles;
    // Tells that some of the chosen music files were not added.
    std::function<void()> showAudioNotAddedMessage;
};

// The functions in force; an empty one uses the real call.
Functions& functions();

bool showInFolder(const QString& path);
bool openUrl(const QString& target);
bool confirmClearHistory();
QString chooseFolder(const QString& title, const QString& startFolder);
QStringList chooseAudioFiles();
void showAudioNotAddedMessage();

} // namespace PageShell
