#include <QtTest>

#include "app/hooks/InlineHook.h"
#include "app/hooks/ProcessMemory.h"
#include "support/QtTargets.h"

#include <QApplication>
#include <QLabel>
#include <QTextDocument>
#include <QTextOption>
#include <QWindow>

// The engine on the four Qt functions themselves, with detours that count and pass on.
class TestQtTargets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void resolveIntoQtLibraries();
    void createEnableAndDisable();
};

namespace {

// Calls per detour: Qt's functions call each other too.
int widgetAtCalls = 0;
int geometryCalls = 0;
int setDefaultTextOptionCalls = 0;
int setTextCalls = 0;

int totalCalls()
{
    return widgetAtCalls + geometryCalls + setDefaultTextOptionCalls + setTextCalls;
}

using WidgetAt = QWidget* (*)(const QPoint&);
using Geometry = QRect (*)(const QWindow*);
using SetDefaultTextOption = void (*)(QTextDocument*, const QTextOption&);
using SetText = void (*)(QLabel*, const QString&);

void* widgetAtOriginal = nullptr;
void* geometryOriginal = nullptr;
void* setDefaultTextOptionOriginal = nullptr;
void* setTextOriginal = nullptr;

QWidget* widgetAtDetour(const QPoint& point)
{
    ++widgetAtCalls;
    return reinterpret_cast<WidgetAt>(widgetAtOriginal)(point);
}

QRect geometryDetour(const QWindow* window)
{
    ++geometryCalls;
    return reinterpret_cast<Geometry>(geometryOriginal)(window);
}

void setDefaultTextOptionDetour(QTextDocument* document, const QTextOption& option)
{
    ++setDefaultTextOptionCalls;
    reinterpret_cast<SetDefaultTextOption>(setDefaultTextOptionOriginal)(document, option);
}

void setTextDetour(QLabel* label, const QString& text)
{
    ++setTextCalls;
    reinterpret_cast<SetText>(setTextOriginal)(label, text);
}

struct Hooked
{
    const char* name;
    void* detour;
    void** original;
};

const Hooked hooked[] = {
    {"QApplication::widgetAt", reinterpret_cast<void*>(&widgetAtDetour), &widgetAtOriginal},
    {"QWindow::geometry", reinterpret_cast<void*>(&geometryDetour), &geometryOriginal},
    {"QTextDocument::setDefaultTextOption", reinterpret_cast<void*>(&setDefaultTextOptionDetour),
     &setDefaultTextOptionOriginal},
    {"QLabel::setText", reinterpret_cast<void*>(&setTextDetour), &setTextOriginal},
};

} // namespace

void TestQtTargets::initTestCase()
{
    QCOMPARE(initializeInlineHooks(), int(HookOk));
}

void TestQtTargets::cleanupTestCase()
{
    QCOMPARE(uninitializeInlineHooks(), int(HookOk));
}

void TestQtTargets::resolveIntoQtLibraries()
{
    for (const QtTarget& target : qtTargets()) {
        void* address = target.address();
        QVERIFY2(address, target.name);
        const MemoryRegion region = regionAt(reinterpret_cast<std::uintptr_t>(address));
        QVERIFY2(QString::fromStdString(region.path).contains(target.library), target.name);
        QVERIFY2(isExecutable(address), target.name);
    }
}

void TestQtTargets::createEnableAndDisable()
{
    QHash<const char*, QByteArray> unpatched;
    for (const Hooked& hook : hooked) {
        void* target = qtTarget(hook.name).address();
        unpatched[hook.name] = fileBytes(target, 16);
        QCOMPARE(memoryBytes(target, 16), unpatched[hook.name]);
        QCOMPARE(createInlineHook(target, hook.detour, hook.original), int(HookOk));
        QCOMPARE(enableInlineHook(target), int(HookOk));
        QCOMPARE(memoryBytes(target, 1), QByteArray("\xe9"));
    }

    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(40, 30, 200, 100);
    QLabel label(&window);
    QTextDocument document;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(QApplication::widgetAt(QPoint(45, 35)), &label);
    QCOMPARE(widgetAtCalls, 1);
    QCOMPARE(window.windowHandle()->geometry(), QRect(40, 30, 200, 100));
    QVERIFY(geometryCalls > 0);
    document.setDefaultTextOption(option);
    QCOMPARE(document.defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    QCOMPARE(setDefaultTextOptionCalls, 1);
    label.setText("text");
    QCOMPARE(label.text(), QString("text"));
    QCOMPARE(setTextCalls, 1);

    QCOMPARE(disableInlineHook(nullptr), int(HookOk));
    for (const Hooked& hook : hooked)
        QCOMPARE(memoryBytes(qtTarget(hook.name).address(), 16), unpatched[hook.name]);
    const int calls = totalCalls();
    label.setText("other");
    QCOMPARE(QApplication::widgetAt(QPoint(45, 35)), &label);
    QCOMPARE(totalCalls(), calls);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestQtTargets test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qttargets.moc"
