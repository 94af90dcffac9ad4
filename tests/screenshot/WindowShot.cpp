#include "WindowShot.h"

#include "support/MainWindowWatch.h"

#include "app/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kIdlePollMs = 20;

} // namespace

WindowShot::WindowShot(const QString& pngFile, int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_watch(new MainWindowWatch(this))
    , m_idlePoll(new QTimer(this))
    , m_pngFile(QFileInfo(pngFile).absoluteFilePath())
{
    // The grab paints the window again, so it waits until the paint that told is over.
    connect(m_watch, &MainWindowWatch::thumbnailsPainted, this, &WindowShot::writeWhenIdle, Qt::QueuedConnection);
    m_idlePoll->setInterval(kIdlePollMs);
    connect(m_idlePoll, &QTimer::timeout, this, &WindowShot::writeWhenIdle);
    QTimer::singleShot(timeoutMs, this, &WindowShot::timeOut);
}

void WindowShot::writeWhenIdle()
{
    if (MainWindowWatch::showsJob()) {
        m_idlePoll->start();
        return;
    }
    m_idlePoll->stop();
    write();
}

void WindowShot::write()
{
    MainWindow* window = MainWindowWatch::mainWindow();
    QDir().mkpath(QFileInfo(m_pngFile).absolutePath());
    if (!window->grab().save(m_pngFile, "PNG")) {
        std::fprintf(stderr, "ty_screenshot: %s cannot be written\n", qPrintable(m_pngFile));
        finish(1);
        return;
    }
    std::printf("%s\n", qPrintable(m_pngFile));
    std::fflush(stdout);
    finish(0);
}

void WindowShot::timeOut()
{
    std::fprintf(stderr, "ty_screenshot: the project page did not show its rows with their thumbnails in time (%s)\n",
                 qPrintable(m_watch->state()));
    finish(3);
}

void WindowShot::finish(int code)
{
    if (MainWindow* window = MainWindowWatch::mainWindow())
        window->close();
    QCoreApplication::exit(code);
}
