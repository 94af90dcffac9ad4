// ty_slideshow's start-up, offscreen, timed from just before its process starts: the child
// ty_startup_probe runs the program's whole start-up and prints when each step is done. Each run
// has a profile of its own; the figures are medians of the runs (3 unless told).
// (a) No project and a history of 200 entries: the start screen's first paint, the end of init
//     and the main window's first paint, and how far that paint comes after the start screen's
//     2000 ms.
// (b) A project of 1,000 photos of 1600 x 1200 in the autosave folder: the rows and the
//     thumbnails in view after the first paint, resident and peak memory then, the close of the
//     main window and the end of the process after it.
//   bench_startup [runs]   photos are written once into <temp>/ty_bench_startup
#include "BenchPhotoFolder.h"
#include "BenchTiming.h"

#include "support/ScratchProfile.h"

#include "app/HistoryModel.h"
#include "model/ProjectFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kPhotoCount = 1000;
constexpr int kHistoryEntries = 200;
constexpr int kPhotosPerEntry = 10;
constexpr int kStartScreenMs = 2000;
constexpr int kRunMs = 180000;

std::unique_ptr<ProjectFile> photoProject(const QStringList& photos, const QString& output)
{
    auto project = std::make_unique<ProjectFile>(3000);
    QList<ProjectItem*> items;
    for (const QString& photo : photos)
        project->collectImageItems(photo, 3000, 2, items);
    project->insertItems(items, -1);
    project->file_name = output;
    return project;
}

// The history file's text, made once in a profile of its own.
QByteArray historyText(const QString& folder, const QStringList& photos)
{
    const ScratchProfile profile(folder);
    HistoryModel history;
    for (int i = 0; i < kHistoryEntries; ++i) {
        const QStringList entryPhotos = photos.mid(i * kPhotosPerEntry % kPhotoCount, kPhotosPerEntry);
        history.addProject(photoProject(entryPhotos, QStringLiteral("/videos/show%1.mp4").arg(i)).get());
    }
    QFile file(HistoryModel::historyFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The steps a run of the probe printed, in ms from just before its start, with "exit" for the
// end of the process; empty when it failed.
QHash<QByteArray, double> runProbe(const QStringList& arguments, long* residentKb, long* peakKb)
{
    QProcess process;
    const qint64 start = monotonicNs();
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/ty_startup_probe"), arguments);
    const bool ended = process.waitForFinished(kRunMs);
    const qint64 end = monotonicNs();
    if (!ended || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        std::fprintf(stderr, "ty_startup_probe failed (exit %d):\n%s", process.exitCode(),
                     process.readAllStandardError().constData());
        return {};
    }
    QHash<QByteArray, double> steps{{"exit", (end - start) / 1e6}};
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.value(0) == "memory") {
            *residentKb = fields.value(1).toLong();
            *peakKb = fields.value(2).toLong();
        } else if (fields.size() == 2) {
            steps.insert(fields[0], (fields[1].toLongLong() - start) / 1e6);
        }
    }
    return steps;
}

class Figures
{
public:
    void add(const char* name, double value) { m_values[name].push_back(value); }
    double operator[](const char* name) const
    {
        const auto found = m_values.find(name);
        return found == m_values.end() ? 0 : medianOf(found->second);
    }

private:
    std::map<std::string, std::vector<double>> m_values;
};

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').mid(0, 3).join(' ') : QByteArray("?");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 3;
    const QStringList photos = benchPhotoFolder(QStringLiteral("ty_bench_startup"), kPhotoCount, QSize(1600, 1200));
    QTemporaryDir base;
    const QByteArray history = historyText(base.filePath(QStringLiteral("history")), photos);
    const std::unique_ptr<ProjectFile> project = photoProject(photos, QStringLiteral("/videos/large.mp4"));
    std::printf("load average before      %s\n", loadAverage().constData());

    Figures empty;
    Figures large;
    for (int run = 0; run < runs; ++run) {
        const QString folder = base.filePath(QStringLiteral("run%1").arg(run));
        {
            const ScratchProfile profile(folder);
            profile.turnOffUpdateCheck();
            QFile file(HistoryModel::historyFile());
            if (!file.open(QIODevice::WriteOnly) || file.write(history) != history.size())
                return 1;
            file.close();
            long resident = 0;
            long peak = 0;
            const QHash<QByteArray, double> steps = runProbe({}, &resident, &peak);
            if (steps.isEmpty())
                return 1;
            empty.add("splash", steps.value("splash"));
            empty.add("init", steps.value("init"));
            empty.add("painted", steps.value("painted"));
        }
        QDir(folder).removeRecursively();
        {
            const ScratchProfile profile(folder);
            profile.turnOffUpdateCheck();
            if (!project->saveAsLatest())
                return 1;
            long resident = 0;
            long peak = 0;
            const QHash<QByteArray, double> steps = runProbe({QStringLiteral("--thumbnails")}, &resident, &peak);
            if (steps.isEmpty())
                return 1;
            large.add("painted", steps.value("painted"));
            large.add("rows", steps.value("rows") - steps.value("painted"));
            large.add("thumbnails", steps.value("thumbnails") - steps.value("rows"));
            large.add("resident", resident / 1024.0);
            large.add("peak", peak / 1024.0);
            large.add("close", steps.value("closed") - steps.value("closing"));
            large.add("exit", steps.value("exit") - steps.value("closed"));
        }
        QDir(folder).removeRecursively();
    }

    std::printf("runs                     %d (medians)\n", runs);
    std::printf("(a) no project, a history of %d entries\n", kHistoryEntries);
    std::printf("  start screen painted   %.0f ms\n", empty["splash"]);
    std::printf("  end of init            %.0f ms\n", empty["init"]);
    std::printf("  first paint            %.0f ms, %.0f ms beyond the start screen's %d ms (goal: at most 300)\n",
                empty["painted"], empty["painted"] - kStartScreenMs, kStartScreenMs);
    std::printf("(b) %d photos of 1600x1200 in the autosave folder\n", kPhotoCount);
    std::printf("  first paint            %.0f ms\n", large["painted"]);
    std::printf("  rows                   %.0f ms after it (goal: within 1000)\n", large["rows"]);
    std::printf("  thumbnails in view     %.0f ms after the rows (goal: within 1000)\n", large["thumbnails"]);
    std::printf("  memory                 resident %.0f MB, peak %.0f MB (goal: under 300)\n", large["resident"],
                large["peak"]);
    std::printf("  close                  %.0f ms (goal: under 300)\n", large["close"]);
    std::printf("  exit                   %.0f ms after the close\n", large["exit"]);
    std::printf("load average after       %s\n", loadAverage().constData());
    return 0;
}
