// Calls of the replaced Qt functions: QWindow::geometry of a shown window,
// QTextDocument::setDefaultTextOption with 0 and 200 owners of text-option filters,
// QLabel::setText on a plain label and a CWidgetText, and QApplication::widgetAt over 1 and 20
// stacked windows of which all but the first are transparent for mouse events.
// Run once as is and once with TY_NO_HOOKS=1 to compare with Qt's own functions.
#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "app/hooks/QtFunctionHook.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/TextOptionFilter.h"

#include <QLabel>
#include <QWidget>
#include <QTextDocument>
#include <QTextOption>
#include <QWindow>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int calls = 100000;

class KeepOption : public Glob::ITextOptionCallback
{
public:
    void adjustTextOption(QTextOption&) override {}
};

double geometryNs()
{
    QWindow window;
    window.setGeometry(10, 10, 200, 100);
    window.show();
    int sum = 0;
    const double ms = medianMs(9, [&] {
        for (int i = 0; i < calls; ++i)
            sum += window.geometry().width();
    });
    return sum ? ms * 1e6 / calls : 0.0;
}

double setDefaultTextOptionNs(int owners)
{
    KeepOption filter;
    std::vector<std::unique_ptr<QLabel>> labels;
    for (int i = 0; i < owners; ++i) {
        labels.push_back(std::make_unique<QLabel>("<b>rich</b>"));
        labels.back()->setTextFormat(Qt::RichText);
        registerTextOptionFilter(labels.back().get(), &filter);
    }
    QTextDocument document;
    QTextOption option;
    const double ms = medianMs(9, [&] {
        for (int i = 0; i < calls / 10; ++i) {
            option.setWrapMode(i % 2 ? QTextOption::WordWrap : QTextOption::WrapAnywhere);
            document.setDefaultTextOption(option);
        }
    });
    return ms * 1e6 / (calls / 10);
}

// Two texts in turn, so every call changes the text.
double setTextNs(QLabel* label)
{
    const QString texts[] = {QStringLiteral("first text"), QStringLiteral("second text")};
    const double ms = medianMs(9, [&] {
        for (int i = 0; i < calls / 10; ++i)
            label->setText(texts[i % 2]);
    });
    return ms * 1e6 / (calls / 10);
}

// The point is over every window.
double widgetAtNs(int windows)
{
    std::vector<std::unique_ptr<QWidget>> stack;
    for (int i = 0; i < windows; ++i) {
        stack.push_back(std::make_unique<QWidget>());
        stack.back()->setGeometry(50, 50, 300, 200);
        stack.back()->setAttribute(Qt::WA_TransparentForMouseEvents, i > 0);
        stack.back()->show();
    }
    const QPoint point(200, 150);
    const double ms = medianMs(9, [&] {
        for (int i = 0; i < calls / 10; ++i)
            QApplication::widgetAt(point);
    });
    return ms * 1e6 / (calls / 10);
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    std::printf("hooks %s\n", qtHooksAllowed() ? "installed" : "skipped");
    std::printf("QWindow::geometry: %.1f ns per call\n", geometryNs());
    for (int owners : {0, 200})
        std::printf("QTextDocument::setDefaultTextOption, %d filter owners: %.1f ns per call\n", owners,
                    setDefaultTextOptionNs(owners));
    QLabel plain;
    CWidgetText widgetText;
    std::printf("QLabel::setText, QLabel: %.1f ns per call\n", setTextNs(&plain));
    std::printf("QLabel::setText, CWidgetText: %.1f ns per call\n", setTextNs(&widgetText));
    for (int windows : {1, 20})
        std::printf("QApplication::widgetAt, %d windows: %.1f ns per call\n", windows, widgetAtNs(windows));
    return 0;
}
