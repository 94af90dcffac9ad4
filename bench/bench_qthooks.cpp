// Calls of the replaced Qt functions: QWindow::geometry of a shown window, and
// QTextDocument::setDefaultTextOption with 0 and 200 owners of text-option filters.
// Run once as is and once with TY_NO_HOOKS=1 to compare with Qt's own functions.
#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "app/hooks/QtFunctionHook.h"
#include "uilib/style/TextOptionFilter.h"

#include <QLabel>
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

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    std::printf("hooks %s\n", qtHooksAllowed() ? "installed" : "skipped");
    std::printf("QWindow::geometry: %.1f ns per call\n", geometryNs());
    for (int owners : {0, 200})
        std::printf("QTextDocument::setDefaultTextOption, %d filter owners: %.1f ns per call\n", owners,
                    setDefaultTextOptionNs(owners));
    return 0;
}
