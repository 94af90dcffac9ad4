#include "pages/PageShell.h"

#include "app/CSystemTools.h"
#include "app/Ui.h"

#include <QApplication>

namespace PageShell {

namespace {

Ui* ui()
{
    return dynamic_cast<Ui*>(CSystemTools::instance());
}

bool showWithTools(const QString& path)
{
    CSystemTools* tools = CSystemTools::instance();
    return tools && tools->showInFolder(path);
}

bool openWithTools(const QString& target)
{
    CSystemTools* tools = CSystemTools::instance();
    return tools && tools->openUrl(target);
}

bool askClearHistory()
{
    return ui() && ui()->confirmClearHistory();
}

QString folderDialog(const QString& title, const QString& startFolder)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::ExistingDirectory;
    request.parent = QApplication::activeWindow();
    request.title = title;
    request.startPath = startFolder;
    request.options = QFileDialog::ShowDirsOnly;
    return CSystemTools::showFileDialog(request).value(0);
}

QStringList audioDialog()
{
    return ui() ? ui()->chooseAudioFiles() : QStringList();
}

void tellAudioNotAdded()
{
    if (ui())
        ui()->showAudioNotAddedMessage();
}

} // namespace

Functions& functions()
{
    static Functions installed;
    return installed;
}

bool showInFolder(const QString& path)
{
    return functions().showInFolder ? functions().showInFolder(path) : showWithTools(path);
}

bool openUrl(const QString& target)
{
    return functions().openUrl ? functions().openUrl(target) : openWithTools(target);
}

bool confirmClearHistory()
{
    return functions().confirmClearHistory ? functions().confirmClearHistory() : askClearHistory();
}

QString chooseFolder(const QString& title, const QString& startFolder)
{
    return functions().chooseFolder ? functions().chooseFolder(title, startFolder) : folderDialog(title, startFolder);
}

QStringList chooseAudioFiles()
{
    return functions().chooseAudioFiles ? functions().chooseAudioFiles() : audioDialog();
}

void showAudioNotAddedMessage()
{
    if (functions().showAudioNotAddedMessage)
        functions().showAudioNotAddedMessage();
    else
        tellAudioNotAdded();
}

} // namespace PageShell
