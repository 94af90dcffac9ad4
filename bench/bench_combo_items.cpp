// A combo filled with 1,000 values, then opened with the current value near the end scrolled into
// view. Prints the median times of both and the memory the items take.

#include "BenchTiming.h"

#include "app/CApplicaiton.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/controls/CWindowPopup.h"
#include "uilib/controls/CScrollArea.h"

#include <QScrollBar>

#include <cstdio>

namespace {

constexpr int Values = 1000;

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    QWidget host;
    host.setGeometry(100, 100, 300, 80);
    auto* combo = new CComboBase(18, QSizePolicy::Fixed, 1, &host);
    combo->setGeometry(10, 10, 160, 30);
    combo->popup()->setScrollable(2, -1);
    combo->popup()->scrollArea()->setMaximumHeight(400);
    host.show();
    QVariantList values;
    for (int i = 0; i < Values; ++i)
        values << i;
    const long before = residentKb();
    const double fill = medianMs(5, [&] {
        combo->setItems(combo->itemStyleKind(), values, 1);
        settle();
    });
    const long after = residentKb();
    combo->setCurrentData(Values - 10);
    const double open = medianMs(5, [&] {
        combo->showPopup();
        settle();
        closeAllPopups();
        settle();
    });
    combo->showPopup();
    settle();
    const int scrolled = combo->popup()->scrollArea()->verticalScrollBar()->value();
    std::printf("setItems with %d values                %9.2f ms\n", Values, fill);
    std::printf("open with the current item in view     %9.2f ms (scrolled to %d)\n", open, scrolled);
    std::printf("memory of the items                    %9ld kB (%.2f kB per item)\n", after - before,
                double(after - before) / Values);
    return 0;
}
