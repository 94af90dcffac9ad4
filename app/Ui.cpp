#include "app/Ui.h"

#include "app/AboutDialog2.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SettingsProvider.h"
#include "app/audio/AudioFilesController.h"
#include "model/picture/ImageLoader.h"
#include "pages/InterfaceText.h"
#include "pages/TyStyle.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CPanel.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QVersionNumber>

struct Ui::Private
{
};

namespace {

const QString kNoTitle = QStringLiteral(" ");
constexpr int kErrorIcon = 6;
constexpr int kInfoIcon = 7;
constexpr int kQuestionIcon = 8;
constexpr int kMostListedFiles = 10;

QString titleSpan(const QString& text)
{
    return QStringLiteral("<span style='font-size:%1px; font-weight:%2; color:%3;'>%4</span>")
        .arg(QString::number(16), QString::number(600), currentPalette()->textColor().name(QColor::HexArgb), text);
}

bool isPresent(const QString& title)
{
    return !title.isEmpty() && title != kNoTitle;
}

} // namespace

Ui::Ui(Application* app)
    : CSystemTools(app), d(new Private)
{
}

Ui::~Ui() = default;

QString Ui::richMessage(const QString& body, const QString& title)
{
    QString text;
    if (isPresent(title) && !body.isEmpty())
        text = titleSpan(title) + QStringLiteral("<span style='font-size:%1px;'><br>&nbsp;<br></span>").arg(12) + body;
    else if (isPresent(title))
        text = titleSpan(title) + QStringLiteral("<br>");
    else if (!body.isEmpty())
        text = titleSpan(body) + QStringLiteral("<br>");
    return text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString Ui::missingFilesText(const QStringList& files)
{
    if (files.size() == 1)
        return QDir::toNativeSeparators(files.first()).toHtmlEscaped();
    QStringList lines;
    for (int i = 0; i < files.size() && i < kMostListedFiles; ++i)
        lines.append(QStringLiteral("%1. %2").arg(i + 1).arg(QDir::toNativeSeparators(files.at(i)).toHtmlEscaped()));
    QString list = QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    if (files.size() > kMostListedFiles)
        list += QStringLiteral("\n...");
    return QStringLiteral("<div style='text-align: left;'>%1</div>").arg(list);
}

bool Ui::ask(int title, int body, int noButton, int yesButton)
{
    const QString text = richMessage(body ? interfaceText(body) : QString(), interfaceText(title));
    return messageBox(text, kNoTitle, kQuestionIcon, interfaceText(noButton), interfaceText(yesButton)) == 2;
}

void Ui::tell(int title, const QString& body, int button)
{
    messageBox(richMessage(body, interfaceText(title)), kNoTitle, kErrorIcon, interfaceText(button));
}

bool Ui::confirmClearHistory()
{
    return ask(14, 0, 15, 16);
}

bool Ui::confirmClearProject()
{
    return ask(19, 0, 20, 21);
}

bool Ui::confirmNewProject()
{
    return ask(17, 0, 15, 18);
}

bool Ui::confirmOpenWithMissingFiles()
{
    return ask(25, 26, 27, 28);
}

bool Ui::confirmOverwriteAllSlidesText()
{
    return ask(22, 0, 23, 24);
}

void Ui::showSlideshowCreationError(const QString& text)
{
    tell(29, text, 13);
}

void Ui::showAudioNotAddedMessage()
{
    tell(43, interfaceText(44), 45);
}

void Ui::showNoImagesInFolderMessage()
{
    tell(46, interfaceText(47), 48);
}

void Ui::showMissingFilesMessage(const QStringList& files)
{
    tell(49, missingFilesText(files), 50);
}

int Ui::showSlideshowReady(bool withoutOpenButton)
{
    QPointer<CDialogMessage> dialog = new CDialogMessage(mainWindow());
    dialog->setText(richMessage(interfaceText(53), interfaceText(51)));
    dialog->setIcon(QString());
    CPanel* buttons = dialog->buttonPanel();
    delete buttons->layout();
    auto* column = new QVBoxLayout(buttons);
    column->setContentsMargins(32, 32, 32, 46);
    column->setSpacing(8);
    if (!withoutOpenButton) {
        column->addSpacing(24);
        auto* open = new CButton(1014, QStringLiteral(":/folder-outline.svg"));
        open->setText(interfaceText(52));
        dialog->addButton(1, open, true);
    }
    const int result = runDialog(dialog);
    delete dialog.data();
    return result;
}

void Ui::showUpdateAvailable(const QString& newVersion, const QString& newFeaturesUrl, const QString& downloadUrl)
{
    // Only the version number the reply starts with is shown, never markup it may carry.
    const QString version = QVersionNumber::fromString(newVersion).toString().toHtmlEscaped();
    const QString body = interfaceText(233) + QStringLiteral(" <b>") + version + QStringLiteral("</b><br>")
        + interfaceText(232) + QLatin1Char(' ') + linkHtml(newFeaturesUrl, interfaceText(236), 0);
    const int answer = messageBox(richMessage(body, interfaceText(231)), kNoTitle, kInfoIcon, interfaceText(234),
                                  interfaceText(235));
    if (answer == 2)
        openUrl(downloadUrl);
}

QStringList Ui::chooseAudioFiles()
{
    SettingsProvider* settings = SettingsProvider::instance();
    const QString filter = interfaceText(117).arg(audioFileNameFilters().join(QLatin1Char(' ')));
    const QStringList files =
        getOpenFileNames(interfaceText(118), filter, settings ? settings->lastOpenAudioPath() : QString());
    if (!files.isEmpty() && settings)
        settings->setLastOpenAudioPath(QFileInfo(files.first()).absolutePath());
    return files;
}

QStringList Ui::chooseImageFiles()
{
    const QString filter =
        QStringLiteral("%1 (%2)").arg(interfaceText(80), supportedImageFilters().join(QLatin1Char(' ')));
    return getOpenFileNames(interfaceText(79), filter, QString());
}

QString Ui::chooseImageFolder()
{
    SettingsProvider* settings = SettingsProvider::instance();
    FileDialogRequest request;
    request.kind = FileDialogRequest::ExistingDirectory;
    request.parent = QApplication::activeWindow();
    request.title = interfaceText(71);
    request.startPath = settings ? settings->lastOpenFilePath() : QString();
    request.options = QFileDialog::ShowDirsOnly;
    const QString folder = showFileDialog(request).value(0);
    if (!folder.isEmpty() && settings)
        settings->setLastOpenFilePath(folder);
    return folder;
}

void Ui::setupStyle()
{
    auto* palette = new TyStyle(this);
    style()->registerPalette(palette);
    style()->setCurrentStyle(palette->name());
    CSystemTools::setupStyle();
}

void Ui::showAbout()
{
    QTimer::singleShot(0, this, [this] {
        QPointer<AboutDialog2> dialog = new AboutDialog2(mainWindow());
        runDialog(dialog);
        delete dialog.data();
    });
}

void Ui::openUpdatePage()
{
    if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
        openUrl(app->webAddress());
}

CWindow* Ui::createMainWindow()
{
    return new MainWindow(nullptr);
}
