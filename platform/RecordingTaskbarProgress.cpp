#include "platform/RecordingTaskbarProgress.h"

namespace {

QList<QPointer<RecordingTaskbarProgress>>& registry()
{
    static QList<QPointer<RecordingTaskbarProgress>> list;
    return list;
}

} // namespace

RecordingTaskbarProgress::RecordingTaskbarProgress(QObject* parent)
    : TaskbarProgress(parent)
{
}

void RecordingTaskbarProgress::install()
{
    registry().clear();
    setFactory([](QWindow*, QObject* parent) -> TaskbarProgress* {
        auto* progress = new RecordingTaskbarProgress(parent);
        registry() << progress;
        return progress;
    });
}

void RecordingTaskbarProgress::uninstall()
{
    setFactory(Factory());
    registry().clear();
}

QList<QPointer<RecordingTaskbarProgress>> RecordingTaskbarProgress::made()
{
    return registry();
}

int RecordingTaskbarProgress::liveCount()
{
    int count = 0;
    for (const QPointer<RecordingTaskbarProgress>& progress : registry())
        count += progress ? 1 : 0;
    return count;
}
