#include "pages/PageShell.h"

#include "pages/InterfaceText.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace PageShell {

namespace {

enum Text { ClearHistoryTitle = 14, Cancel = 15, Clear = 16 };

bool openWithDesktop(const QString& target)
{
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

// The file manager shows the file's folder.
bool showFolderOf(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath()));
}

CButton* dialogButton(int text)
{
    auto* button = new CButton(11);
    button->setText(interfaceText(text));
    return button;
}

// Button 2 clears.
bool askClearHistory()
{
    CDialogMessage dialog(QApplication::activeWindow());
    dialog.setTitle(interfaceText(ClearHistoryTitle));
    dialog.addButton(1, dialogButton(Cancel));
    dialog.addButton(2, dialogButton(Clear), true);
    return dialog.exec() == 2;
}

QString folderDialog(const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

} // namespace

Functions& functions()
{
    static Functions installed;
    return installed;
}

bool showInFolder(const QString& path)
{
    return functions().showInFolder ? functions().showInFolder(path) : showFolderOf(path);
}

bool openUrl(const QString& target)
{
    return functions().openUrl ? functions().openUrl(target) : openWithDesktop(target);
}

bool confirmClearHistory()
{
    return functions().confirmClearHistory ? functions().confirmClearHistory() : askClearHistory();
}

QString chooseFolder(const QString& title, const QString& startFolder)
{
    return functions().chooseFolder ? functions().chooseFolder(title, startFolder) : folderDialog(title, startFolder);
}

} // namespace PageShell
