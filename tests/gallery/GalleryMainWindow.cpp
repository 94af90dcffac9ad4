// The main window under TyStyle: the welcome page idle and lit by a drag of photos.

#include "Gallery.h"

#include "app/MainWindow.h"
#include "app/MainWindowWelcomePage.h"

#include <QDragEnterEvent>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace {

// A main window over a new project, shown at 1100 x 720.
std::unique_ptr<MainWindow> shownWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->setGeometry(40, 40, 1100, 720);
    window->newProject();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
    return window;
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
