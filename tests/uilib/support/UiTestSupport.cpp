#include "UiTestSupport.h"

#include "app/CApplicaiton.h"
#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOption>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace {
UiTestEnvironment* s_environment = nullptr;
}

UiTestEnvironment::UiTestEnvironment(int& argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    m_app.reset(new CApplicaiton(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("ty_uitest"));
    m_settings.reset(new CSettingsStorage(m_folder.filePath(QStringLiteral("settings.ini")),
                                          QSettings::IniFormat, nullptr));
    m_app->setSettings(m_settings.get());
    s_environment = this;
}

UiTestEnvironment::~UiTestEnvironment()
{
    s_environment = nullptr;
    m_settings.reset();
    m_app.reset();
}

UiTestEnvironment* UiTestEnvironment::instance()
{
    return s_environment;
}

CSettingsStorage* UiTestEnvironment::settings()
{
    return s_environment ? s_environment->m_settings.get() : nullptr;
}

// Qt reads the wall clock while its driver is stopped, and under load that time leaked into the
// first step of an animation. So this clock keeps running while installed and only rewinds when
// Qt stops it, as Qt restarts its own time then.
ManualAnimationClock::ManualAnimationClock()
{
    install();
    if (!isRunning())
        QAnimationDriver::start();
    // Brings Qt's last tick to this clock's time.
    advanceAnimation();
}

ManualAnimationClock::~ManualAnimationClock()
{
    QAnimationDriver::stop();
    uninstall();
}

void ManualAnimationClock::advance(int ms)
{
    // Starting an animation and then its timer are two queued steps.
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents();
    m_elapsed += ms;
    advanceAnimation();
    QCoreApplication::sendPostedEvents();
}

void ManualAnimationClock::start()
{
    m_elapsed = 0;
    QAnimationDriver::start();
}

void ManualAnimationClock::stop()
{
    m_elapsed = 0;
}

NestedLoopWatchdog::NestedLoopWatchdog(int timeoutMs, QEventLoop* loop)
    : m_loop(loop), m_timer(startTimer(timeoutMs))
{
}

void NestedLoopWatchdog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer)
        return;
    killTimer(m_timer);
    m_fired = true;
    if (!m_expected)
        QTest::qFail("a nested event loop did not end in time", __FILE__, __LINE__);
    if (m_loop)
        m_loop->exit(1);
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (modal == QApplication::activeModalWidget())
            break;
    }
}

QList<double> testRatios()
{
    return {1.0, 1.25, 1.5, 2.0};
}

void addRatioRows()
{
    for (double ratio : testRatios())
        QTest::addRow("@%g", ratio) << ratio;
}

QImage paintAtRatio(const QSize& logicalSize, double ratio, const std::function<void(QPainter*)>& paint,
                    const QColor& background)
{
    QImage image(int(std::ceil(logicalSize.width() * ratio)), int(std::ceil(logicalSize.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    paint(&painter);
    return image;
}

QImage renderWidget(QWidget* widget, double ratio, const QColor& background)
{
    return paintAtRatio(widget->size(), ratio, [widget](QPainter* painter) {
        widget->render(painter, QPoint(), QRegion(), QWidget::DrawChildren);
    }, background);
}

QImage paintInScope(const QSize& logicalSize, double ratio, const std::function<void(CPainterScope&)>& paint)
{
    return paintAtRatio(logicalSize, ratio, [&](QPainter* painter) {
        QStyleOption option;
        option.rect = QRect(QPoint(), logicalSize);
        CPainterScope scope(painter, &option);
        paint(scope);
    });
}

QMimeData* fileUrlsMime(const QStringList& paths)
{
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    mime->setUrls(urls);
    return mime;
}

QString writeSquareSvg(const QString& path, int side, const char* color)
{
    const QByteArray svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                          "viewBox=\"0 0 %1 %1\"><rect width=\"%1\" height=\"%1\" fill=\"%2\"/></svg>")
                               .arg(side)
                               .arg(QLatin1String(color))
                               .toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size())
        return QString();
    return path;
}

QColor devicePixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

QColor logicalPixel(const QImage& image, const QPointF& point)
{
    const double ratio = image.devicePixelRatio();
    return image.pixelColor(int(std::floor(point.x() * ratio)), int(std::floor(point.y() * ratio)));
}

bool KeyRecordingWindow::focusChild(QWidget* child)
{
    show();
    activateWindow();
    if (!QTest::qWaitForWindowActive(this))
        return false;
    child->setFocus();
    return child->hasFocus();
}

void KeyRecordingWindow::keyPressEvent(QKeyEvent* event)
{
    keys.append(event->key());
}

bool isFlatImage(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        return true;
    const QRgb first = argb.pixel(0, 0);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (line[x] != first)
                return false;
        }
    }
    return true;
}

DarkTestPalette::DarkTestPalette(QObject* parent)
    : Cpalette(parent)
{
}

QString DarkTestPalette::name() const
{
    return QStringLiteral("DarkTest");
}

bool DarkTestPalette::isDark() const
{
    return true;
}

QColor DarkTestPalette::color(int role) const
{
    switch (role) {
    case 0: return QColor(0x3D8FE0);
    case 2:
    case 9: return QColor(0x2B2B2F);
    case 6: return QColor(0x202024);
    case 3: return colorWithAlpha(Qt::white, 0.16);
    default: return Cpalette::color(role);
    }
}

ColorSet DarkTestPalette::colorSet(int kind) const
{
    switch (kind) {
    case 4: return ColorSet(QColor(0x38383C), QColor(0x38383C), QColor(0x38383C), QColor(0x303034));
    case 5: {
        const QColor outline = colorWithAlpha(Qt::white, 0.16);
        const QColor focus = color(0);
        return ColorSet(outline, colorWithAlpha(Qt::white, 0.3), outline, colorWithAlpha(Qt::white, 0.08), focus,
                        focus, focus, colorWithAlpha(Qt::white, 0.08));
    }
    default: return Cpalette::colorSet(kind);
    }
}

Cpalette* registerDarkTestPalette()
{
    CStyle* style = CSystemTools::instance()->style();
    static QPointer<Cpalette> palette;
    if (!palette) {
        palette = new DarkTestPalette(style);
        style->registerPalette(palette);
    }
    return palette;
}

QPoint WindowPointer::local(const QPoint& global) const
{
    return global - m_window.geometry().topLeft();
}

void WindowPointer::press(const QPoint& global)
{
    m_at = global;
    QTest::mousePress(m_window.windowHandle(), Qt::LeftButton, {}, local(global));
}

void WindowPointer::move(const QPoint& global)
{
    m_at = global;
    QTest::mouseMove(m_window.windowHandle(), local(global));
}

void WindowPointer::release()
{
    QTest::mouseRelease(m_window.windowHandle(), Qt::LeftButton, {}, local(m_at));
}

void WindowPointer::click(QWidget* child)
{
    m_at = child->mapToGlobal(child->rect().center());
    QCursor::setPos(m_at);
    QCoreApplication::processEvents();
    QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, local(m_at));
}

bool clickAsUser(CButton* button)
{
    QSignalSpy clicked(button, &CButton::clicked);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    WindowPointer(*button->window()).click(button);
    return clicked.count() > 0 || clicked.wait(5000);
}

QPoint WindowMouse::inWindow(QWidget* widget, const QPoint& pos) const
{
    return widget->mapTo(m_window, pos);
}

void WindowMouse::press(QWidget* widget, const QPoint& pos)
{
    QTest::mousePress(m_window->windowHandle(), Qt::LeftButton, {}, inWindow(widget, pos));
}

void WindowMouse::move(QWidget* widget, const QPoint& pos)
{
    QTest::mouseMove(m_window->windowHandle(), inWindow(widget, pos));
}

void WindowMouse::release(QWidget* widget, const QPoint& pos)
{
    QTest::mouseRelease(m_window->windowHandle(), Qt::LeftButton, {}, inWindow(widget, pos));
}
