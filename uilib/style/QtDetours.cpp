#include "uilib/style/QtDetours.h"

#include "app/hooks/QtFunctionHook.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/TextOptionFilter.h"
#include "uilib/style/WindowRegion.h"

#include <QCoreApplication>
#include <QTextDocument>
#include <QThread>
#include <QWindow>
#include <qpa/qplatformwindow.h>
#include <private/qhighdpiscaling_p.h>

namespace {

const char guiLibrary[] = "libQt5Gui.so.5";
const char widgetsLibrary[] = "libQt5Widgets.so.5";

using GeometryFunction = QRect (*)(const QWindow*);
using SetTextOptionFunction = void (*)(QTextDocument*, const QTextOption&);
using SetTextFunction = void (*)(QLabel*, const QString&);

// Set once, when the hook is installed and before any other thread runs.
GeometryFunction unhookedGeometry = nullptr;
SetTextOptionFunction unhookedSetDefaultTextOption = nullptr;
SetTextFunction unhookedSetText = nullptr;

int roundAway(qreal value)
{
    return value < 0 ? -int(-value + 0.5) : int(value + 0.5);
}

QRect geometryDetour(const QWindow* window)
{
    const QPlatformWindow* platformWindow = window->handle();
    if (!platformWindow)
        return unhookedGeometry(window);
    if (!QHighDpiScaling::isActive())
        return platformWindow->geometry();
    const QHighDpiScaling::ScaleAndOrigin scale = QHighDpiScaling::scaleAndOrigin(window);
    return windowGeometryFromNative(platformWindow->geometry(), scale.factor, scale.origin);
}

bool onGuiThread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

void setDefaultTextOptionDetour(QTextDocument* document, const QTextOption& option)
{
    if (!onGuiThread()) {
        unhookedSetDefaultTextOption(document, option);
        return;
    }
    unhookedSetDefaultTextOption(document, filteredTextOption(document, option));
}

void setTextDetour(QLabel* label, const QString& text)
{
    const bool changed = label->text() != text;
    unhookedSetText(label, text);
    if (!changed)
        return;
    if (auto* widgetText = qobject_cast<CWidgetText*>(label))
        emit widgetText->textChanged();
}

template <class Function>
bool install(const char* library, const char* symbol, Function detour, Function& unhooked)
{
    void* trampoline = hookQtFunction(libraryFunction(library, symbol), reinterpret_cast<void*>(detour));
    unhooked = reinterpret_cast<Function>(trampoline);
    return trampoline;
}

} // namespace

bool installWidgetAtHook()
{
    // No trampoline is kept: the replacement never calls Qt's own.
    static const bool installed =
        hookQtFunction(libraryFunction(widgetsLibrary, "_ZN12QApplication8widgetAtERK6QPoint"),
                       reinterpret_cast<void*>(&regionAwareWidgetAt));
    return installed;
}

QRect windowGeometryFromNative(const QRect& native, qreal factor, const QPoint& origin)
{
    const QPoint topLeft(origin.x() + roundAway((native.x() - origin.x()) / factor),
                         origin.y() + roundAway((native.y() - origin.y()) / factor));
    return QRect(topLeft, QSize(roundAway(native.width() / factor), roundAway(native.height() / factor)));
}

bool hookQWindowGeometry()
{
    static const bool installed =
        install(guiLibrary, "_ZNK7QWindow8geometryEv", &geometryDetour, unhookedGeometry);
    return installed;
}

bool hookQTextDocumentSetDefaultTextOption()
{
    static const bool installed = install(guiLibrary, "_ZN13QTextDocument20setDefaultTextOptionERK11QTextOption",
                                          &setDefaultTextOptionDetour, unhookedSetDefaultTextOption);
    return installed;
}

bool hookQLabelSetText()
{
    static const bool installed =
        install(widgetsLibrary, "_ZN6QLabel7setTextERK7QString", &setTextDetour, unhookedSetText);
    return installed;
}

bool isQLabelSetTextHooked()
{
    return unhookedSetText;
}
