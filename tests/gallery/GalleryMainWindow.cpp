// The main window under TyStyle: the welcome page idle and lit by a drag of photos, the project
// page over a few photos, the history page, the settings page over the overlay, composing, and the
// title bar with its update and crash buttons.

#include "Gallery.h"

#include "app/CApplicaiton.h"
#include "app/MainWindow.h"
#include "app/MainWindowParts.h"
#include "app/MainWindowWelcomePage.h"
#include "app/SettingsProvider.h"
#include "pages/ProgressBox.h"
#include "pages/ProjectPage.h"
#include "pages/SettingsBox.h"
#include "pages/SlideRowThumbnailCache.h"
#include "pages/SlideRowWidget.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace {

// The program's typed settings in a temporary folder while an entry runs, so that new projects
// and the settings page start from the program's defaults.
class ProgramSettings
{
public:
    ProgramSettings()
        : m_previous(UiTestEnvironment::settings())
        , m_settings(m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat, nullptr)
    {
        m_settings.setFolder(m_dir.path());
        application()->setSettings(&m_settings);
    }
    ~ProgramSettings() { application()->setSettings(m_previous); }

private:
    static CApplicaiton* application() { return static_cast<CApplicaiton*>(QCoreApplication::instance()); }

    QTemporaryDir m_dir;
    CSettingsStorage* m_previous;
    SettingsProvider m_settings;
};

// The window as it paints itself on the screen. A render into an image, as compositeWindows
// makes, leaves out an opaque shadowed panel once its shadow is cached: the progress box.
QImage screenPicture(QWidget* window)
{
    settleGallery();
    return window->grab().toImage();
}

// A main window over a new project, shown at 1100 x 720.
std::unique_ptr<MainWindow> shownWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->setGeometry(40, 40, 1100, 720);
    window->newProject();
    showExposed(window.get());
    return window;
}

// A landscape of sky and hills, darker with the index.
QString writePhoto(const QTemporaryDir& dir, int index)
{
    QImage image(320, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor::fromHsv(200 + 25 * index, 120, 230));
    painter.setBrush(QColor(40 + 20 * index, 110, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(100 + 30 * index, 200), 160, 80);
    painter.end();
    const QString path = dir.filePath(QStringLiteral("Фото %1.jpg").arg(index + 1));
    image.save(path, "jpg", 90);
    return path;
}

// The project page over four photos, their thumbnails loaded.
void addPhotos(MainWindow* window, const QTemporaryDir& dir)
{
    QStringList photos;
    for (int i = 0; i < 4; ++i)
        photos.append(writePhoto(dir, i));
    window->projectPage()->addImageFiles(photos, 1);
    window->pages()->setCurrentIndex(MainWindow::ProjectPageIndex);
    compositeWindows({window});
    QDeadlineTimer deadline(10000);
    for (const QString& photo : photos) {
        while (SlideRowWidget::ThumbnailCache::instance()->isPending(64, photo) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

} // namespace

TY_GALLERY_ENTRY("mainwindow-welcome")
{
    useAppStyle(true);
    ManualAnimationClock clock;
    std::unique_ptr<MainWindow> window = shownWindow();
    page.add(compositeWindows({window.get()}), QStringLiteral("idle"));

    QTemporaryDir dir;
    QImage photo(32, 24, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    photo.save(path);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    MainWindow::WelcomePage* welcome = window->welcomePage();
    QDragEnterEvent enter(welcome->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(welcome, &enter);
    clock.advance(2000);
    page.add(compositeWindows({window.get()}), QStringLiteral("drag"));
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(welcome, &leave);
    clock.advance(2000);
}

TY_GALLERY_ENTRY("mainwindow-pages")
{
    useAppStyle(true);
    ProgramSettings settings;
    ManualAnimationClock clock;
    std::unique_ptr<MainWindow> window = shownWindow();
    QTemporaryDir dir;
    addPhotos(window.get(), dir);
    page.add(screenPicture(window.get()), QStringLiteral("project"));
    window->showHistory();
    page.add(screenPicture(window.get()), QStringLiteral("history"));
    window->goBack();
    window->showSettings();
    clock.advance(2000);
    clock.advance(2000);
    page.add(screenPicture(window.get()), QStringLiteral("settings"));
    window->settingsBox()->hide();
    ProgressBox* box = window->progressBox();
    box->setClock([] { return qint64(0); });
    QSignalSpy ticked(box->elapsedLabel(), &CWidgetText::textChanged);
    box->startComposing();
    box->setProgress(42, 95000);
    clock.advance(2000);
    clock.advance(2000);
    // The elapsed time shows from the first tick on.
    ticked.wait(2000);
    page.add(screenPicture(window.get()), QStringLiteral("composing"));
    box->stop();
    clock.advance(2000);
}

TY_GALLERY_ENTRY("mainwindow-titlebar")
{
    useAppStyle(true);
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("crashme.txt"))).open(QIODevice::WriteOnly);
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    std::unique_ptr<MainWindow> window = shownWindow();
    QDir::setCurrent(before);
    window->titlebar()->updateButton()->show();
    settleGallery();
    const QImage whole = compositeWindows({window.get()});
    page.add(whole.copy(0, 0, whole.width(), window->titleBar()->height() + 8), QStringLiteral("update-and-crash"));
}
