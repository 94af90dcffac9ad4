#include "support/QtTargets.h"

#include "app/hooks/ProcessMemory.h"
#include "app/hooks/QtFunctionHook.h"

#include <QFile>

#include <cstring>

void* QtTarget::address() const
{
    return libraryFunction(library, symbol);
}

QVector<QtTarget> qtTargets()
{
    return {
        {"QApplication::widgetAt", "libQt5Widgets.so.5", "_ZN12QApplication8widgetAtERK6QPoint"},
        {"QWindow::geometry", "libQt5Gui.so.5", "_ZNK7QWindow8geometryEv"},
        {"QTextDocument::setDefaultTextOption", "libQt5Gui.so.5",
         "_ZN13QTextDocument20setDefaultTextOptionERK11QTextOption"},
        {"QLabel::setText", "libQt5Widgets.so.5", "_ZN6QLabel7setTextERK7QString"},
    };
}

const QtTarget& qtTarget(const char* name)
{
    static const QVector<QtTarget> targets = qtTargets();
    for (const QtTarget& target : targets) {
        if (std::strcmp(target.name, name) == 0)
            return target;
    }
    qFatal("no Qt target %s", name);
}

QByteArray fileBytes(const void* address, int size)
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    const MemoryRegion region = regionAt(at);
    QFile file(QString::fromStdString(region.path));
    if (region.path.empty() || !file.open(QIODevice::ReadOnly) || !file.seek(qint64(region.fileOffset + (at - region.start))))
        return QByteArray();
    return file.read(size);
}

QByteArray memoryBytes(const void* address, int size)
{
    return QByteArray(static_cast<const char*>(address), size);
}
