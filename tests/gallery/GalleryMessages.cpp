// The message box with one to three buttons and the remember box and the text input, in the
// library's palettes and the application's; every question and message of the program, the ready
// dialog, the update notice and the about box in the application's palettes, whose kinds they
// use. Each dialog is drawn where it opens, in place of its modal loop.

#include "Gallery.h"

#include "app/CSystemTools.h"
#include "app/Ui.h"
#include "uilib/controls/CDialog.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

struct Palette
{
    bool app;
    bool dark;
};

const QList<Palette> kAppPalettes = {{true, false}, {true, true}};
const QList<Palette> kAllPalettes = QList<Palette>{{false, false}, {false, true}} + kAppPalettes;

// The program's service beside the gallery's own, made once and ended with the application.
Ui* programUi()
{
    static QPointer<Ui> ui;
    if (!ui) {
        ui = new Ui(nullptr);
        ui->setParent(QCoreApplication::instance());
    }
    return ui;
}

CSystemTools* tools()
{
    return CSystemTools::instance();
}

// While it lives, every dialog the service runs is added to the page as the next state and
// closed at once, answering 0.
class DialogShots
{
public:
    explicit DialogShots(GalleryPage& page, const QList<Palette>& palettes = kAppPalettes)
        : m_page(page), m_palettes(palettes)
    {
        CSystemTools::setDialogRunner([this](CDialog* dialog) {
            dialog->showModeless(CWindow::CursorScreen);
            // At its own size where the offscreen screen, 600 pixels tall, cut it short.
            dialog->resize(dialog->preferredSize());
            const QString state = m_palette.app ? m_state + QStringLiteral("-app") : m_state;
            m_page.add(compositeWindows({dialog}), state, m_palette.dark);
            dialog->close();
            return 0;
        });
    }
    ~DialogShots() { CSystemTools::setDialogRunner({}); }

    // Runs show once in each palette, naming its shots after state.
    template <class Show>
    void inEachPalette(const QString& state, Show show)
    {
        m_state = state;
        for (const Palette& palette : m_palettes) {
            m_palette = palette;
            palette.app ? useAppStyle(palette.dark) : m_page.usePalette(palette.dark);
            show();
            settleGallery();
        }
        m_page.usePalette(false);
    }

private:
    GalleryPage& m_page;
    const QList<Palette> m_palettes;
    QString m_state;
    Palette m_palette{false, false};
};

QStringList missingPhotos(int count)
{
    QStringList files;
    for (int i = 1; i <= count; ++i)
        files.append(QStringLiteral("/home/anna/Фото/Отпуск 2026/IMG_%1.jpg").arg(4000 + i));
    return files;
}

} // namespace

TY_GALLERY_ENTRY("messages-box")
{
    DialogShots shots(page, kAllPalettes);
    const QString text = QStringLiteral("Проект был изменён. Сохранить изменения перед закрытием?");
    shots.inEachPalette("one-button", [] { tools()->messageBox(QStringLiteral("Файл сохранён.")); });
    shots.inEachPalette("two-buttons", [&] {
        tools()->messageBox(text, QString(), 8, QStringLiteral("Нет"), QStringLiteral("Да"));
    });
    shots.inEachPalette("three-buttons", [&] {
        tools()->messageBox(text, QString(), 8, QStringLiteral("Отмена"), QStringLiteral("Не сохранять"),
                            QStringLiteral("Сохранить"));
    });
    shots.inEachPalette("remember", [&] {
        bool remember = true;
        tools()->messageBox(text, QString(), 8, QStringLiteral("Нет"), QStringLiteral("Да"), QString(), &remember,
                            QStringLiteral("Больше не спрашивать"));
    });
}

TY_GALLERY_ENTRY("messages-text-input")
{
    DialogShots shots(page, kAllPalettes);
    const QString text = QStringLiteral("Название нового проекта:");
    shots.inEachPalette("plain", [&] {
        QString name = QStringLiteral("Летний отпуск");
        tools()->textInputBox(text, QString(), name, CSystemTools::AnyTextInput, 0, QStringLiteral("Отмена"),
                              QStringLiteral("ОК"));
    });
    shots.inEachPalette("password", [] {
        QString password = QStringLiteral("secret");
        tools()->textInputBox(QStringLiteral("Пароль:"), QString(), password, CSystemTools::PasswordTextInput, 0,
                              QStringLiteral("Отмена"), QStringLiteral("ОК"));
    });
    shots.inEachPalette("default-disabled", [&] {
        QString name;
        tools()->textInputBox(text, QString(), name, CSystemTools::NotEmptyTextInput, 0, QStringLiteral("Отмена"),
                              QStringLiteral("ОК"));
    });
}

TY_GALLERY_ENTRY("messages-questions")
{
    DialogShots shots(page);
    Ui* ui = programUi();
    shots.inEachPalette("clear-history", [ui] { ui->confirmClearHistory(); });
    shots.inEachPalette("clear-project", [ui] { ui->confirmClearProject(); });
    shots.inEachPalette("new-project", [ui] { ui->confirmNewProject(); });
    shots.inEachPalette("open-with-missing-files", [ui] { ui->confirmOpenWithMissingFiles(); });
    shots.inEachPalette("overwrite-captions", [ui] { ui->confirmOverwriteAllSlidesText(); });
}

TY_GALLERY_ENTRY("messages-program")
{
    DialogShots shots(page);
    Ui* ui = programUi();
    shots.inEachPalette("creation-error", [ui] {
        ui->showSlideshowCreationError(QStringLiteral("Не удалось записать файл «Отпуск.mp4»: диск заполнен."));
    });
    shots.inEachPalette("audio-not-added", [ui] { ui->showAudioNotAddedMessage(); });
    shots.inEachPalette("no-images-in-folder", [ui] { ui->showNoImagesInFolderMessage(); });
    shots.inEachPalette("missing-file", [ui] { ui->showMissingFilesMessage(missingPhotos(1)); });
    shots.inEachPalette("missing-files", [ui] { ui->showMissingFilesMessage(missingPhotos(12)); });
}

TY_GALLERY_ENTRY("messages-ready")
{
    DialogShots shots(page);
    Ui* ui = programUi();
    shots.inEachPalette("open-folder", [ui] { ui->showSlideshowReady(false); });
    shots.inEachPalette("without-open-folder", [ui] { ui->showSlideshowReady(true); });
}

TY_GALLERY_ENTRY("messages-update")
{
    DialogShots shots(page);
    Ui* ui = programUi();
    shots.inEachPalette("notice", [ui] {
        ui->showUpdateAvailable(QStringLiteral("2.4.1"), QStringLiteral("https://example.org/news"),
                                QStringLiteral("https://example.org/download"));
    });
}

TY_GALLERY_ENTRY("messages-about")
{
    DialogShots shots(page);
    Ui* ui = programUi();
    const QString version = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.4"));
    // The box opens on the next pass of the event loop.
    shots.inEachPalette("box", [ui] { ui->showAbout(); });
    QCoreApplication::setApplicationVersion(version);
}
