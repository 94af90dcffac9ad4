// The list widget with button rows: uniform lists of 1,000 rows (as the history page) and of
// 10,000, and a list of 200 rows each a real widget (as the audio box). Prints the time to set the model, to
// insert and to remove 50 rows, and per scroll step of one row, the row widgets alive and the
// resident memory.

#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CListWidgetDelegate.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStringListModel>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr int RowHeight = 36;

class Row : public CButton, public CListWidgetDelegate
{
public:
    Row(QWidget* parent, const QModelIndex& index)
        : CButton(16, parent)
    {
        setCheckable(true);
        setFixedHeight(RowHeight);
        setText(index.data().toString());
    }

    void setModelIndex(const QModelIndex& index) override { setText(index.data().toString()); }
};

QStringList rowTexts(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QStringLiteral("Project %1 - 12 slides, 00:48").arg(i);
    return texts;
}

struct Bench
{
    QWidget window;
    CListWidget* list = new CListWidget(39, &window);

    explicit Bench(bool uniform)
    {
        window.resize(400, 600);
        list->setGeometry(window.rect());
        list->setUniformRowSizes(uniform);
        auto* layout = new QVBoxLayout;
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        list->addLayout(0, layout);
        list->setCurrentLayoutId(0);
        list->setDelegateFactory([](QWidget* parent, const QModelIndex& index) { return new Row(parent, index); });
        window.show();
        settle();
    }

    // Delivers the posted layout requests and ends a busy picture.
    void settle() const
    {
        do
            QCoreApplication::processEvents();
        while (list->viewport()->isHidden());
    }

    int liveRows() const
    {
        int live = 0;
        list->forEachDelegate([&live](CListWidgetDelegate*, int) { ++live; });
        return live;
    }

    // The time to set a model on this new list, and the resident memory it added.
    std::pair<double, long> setFirstModel(QStringListModel* model)
    {
        const long before = residentKb();
        QElapsedTimer timer;
        timer.start();
        list->setModel(model);
        settle();
        return {timer.nsecsElapsed() / 1e6, residentKb() - before};
    }

    void run(const char* title, int rows, double cold)
    {
        QStringListModel first(rowTexts(rows));
        QStringListModel second(rowTexts(rows));
        const long memory = setFirstModel(&first).second;
        bool useFirst = false;
        const double replace = medianMs(5, [&] {
            list->setModel(useFirst ? &first : &second);
            useFirst = !useFirst;
            settle();
        });
        QStringListModel* model = static_cast<QStringListModel*>(list->model());
        const double insert = medianMs(5, [&] {
            model->insertRows(rows / 2, 50);
            settle();
            model->removeRows(rows / 2, 50);
            settle();
        });
        const double remove = medianMs(5, [&] {
            model->removeRows(rows / 2, 50);
            settle();
            model->insertRows(rows / 2, 50);
            settle();
        });
        QScrollBar* bar = list->verticalScrollBar();
        bar->setValue(0);
        settle();
        int maxLive = 0;
        const double step = medianMs(150, [&] {
            bar->setValue(bar->value() + RowHeight);
            settle();
            maxLive = qMax(maxLive, liveRows());
        });
        const int viewportRows = list->viewport()->height() / RowHeight;
        std::printf("== %s, %d rows\n", title, rows);
        std::printf("set the model on a new list, median  %9.2f ms\n", cold);
        std::printf("set the model, replacing one         %9.2f ms\n", replace);
        std::printf("insert 50 rows, then remove them     %9.2f ms\n", insert);
        std::printf("remove 50 rows, then insert them     %9.2f ms\n", remove);
        std::printf("scroll by one row                    %9.3f ms\n", step);
        std::printf("row widgets alive while scrolling    %9d (viewport shows %d rows)\n", maxLive, viewportRows);
        std::printf("resident memory after the first set  %9ld kB more\n", memory);
        list->setModel(nullptr);
        settle();
    }
};

// The times to set a model of `rows` rows on five new lists: the first, and the median.
std::pair<double, double> coldSetMs(bool uniform, int rows)
{
    QStringListModel model(rowTexts(rows));
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        Bench bench(uniform);
        times.push_back(bench.setFirstModel(&model).first);
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    return {first, times[times.size() / 2]};
}

void runCase(const char* title, bool uniform, int rows)
{
    const std::pair<double, double> cold = coldSetMs(uniform, rows);
    Bench bench(uniform);
    bench.run(title, rows, cold.second);
    std::printf("set the model on the first new list  %9.2f ms\n", cold.first);
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    const long start = residentKb();
    runCase("uniform rows", true, 1000);
    runCase("uniform rows", true, 10000);
    runCase("a widget for every row", false, 200);
    std::printf("resident memory of the program       %9ld kB (%ld kB at start)\n", residentKb(), start);
    return 0;
}
