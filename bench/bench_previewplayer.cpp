// The preview panel playing the whole preview of a 1080p photo project in real time, offscreen:
// time to the first painted frame, stalls, paint time per frame and peak memory, at device pixel
// ratios 1 and 2. Each ratio runs in a process of its own, so that its peak memory is its own.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "app/CApplicaiton.h"
#include "app/CSystemTools.h"
#include "model/MotionType.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "model/transition/TransitionType.h"
#include "pages/TyStyle.h"
#include "pages/VideoPlayer.h"
#include "pages/VideoPlayerWidget.h"
#include "resources/Resources.h"
#include "uilib/style/CStyle.h"

#include "BenchPhotos.h"
#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPhotos = 20;
constexpr int kSlideMs = 3000;
constexpr int kTransitionMs = 1000;
// Stalls in the show's first second are not counted against it.
constexpr qint64 kGraceMs = 1000;
const QSize kPanelSize(640, 440);

void fillProject(ProjectFile& project, const QDir& photos)
{
    project.resolution = Resolution(1920, 1080);
    project.transition_time_ms = kTransitionMs;
    QList<ProjectItem*> slides;
    for (int i = 0; i < kPhotos; ++i) {
        auto* slide = new ProjectItemSimple(photos.filePath(QStringLiteral("photo%1.jpg").arg(i)), kSlideMs,
                                            TransitionRandom);
        slide->setMotion(MotionRandom);
        slides << slide;
    }
    project.insertItems(slides, -1);
}

// Times every paint of the player and tells which of them painted a frame of the playback.
class PaintMeter : public QObject
{
public:
    explicit PaintMeter(VideoPlayer* player)
        : m_player(player)
    {
        player->installEventFilter(this);
    }

    std::vector<double> frameMs;
    qint64 firstFrameAt = -1;
    QElapsedTimer sinceStart;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_player || event->type() != QEvent::Paint)
            return false;
        QElapsedTimer timer;
        timer.start();
        static_cast<QObject*>(m_player)->event(event);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (m_player->isPlaying() && !m_player->isGenerating()) {
            frameMs.push_back(ms);
            if (firstFrameAt < 0)
                firstFrameAt = sinceStart.elapsed();
        }
        return true;
    }

private:
    VideoPlayer* m_player;
};

struct Stall
{
    qint64 start;
    qint64 length;
};

int playOnce(const QString& photoFolder)
{
    initSlideshowResources();
    auto* style = new TyStyle(CSystemTools::instance()->style());
    CSystemTools::instance()->style()->registerPalette(style);
    CSystemTools::instance()->style()->setCurrentStyle(style->name());

    ProjectFile project(kSlideMs);
    fillProject(project, QDir(photoFolder));
    VideoPlayerWidget panel;
    panel.resize(kPanelSize);
    panel.show();
    QCoreApplication::processEvents();
    panel.setProject(&project);
    VideoPlayer* player = panel.player();
    PaintMeter meter(player);

    std::vector<Stall> stalls;
    qint64 stallStart = -1;
    QObject::connect(player, &VideoPlayer::generatingStarted, [&] { stallStart = meter.sinceStart.elapsed(); });
    QObject::connect(player, &VideoPlayer::generatingFinished, [&] {
        if (stallStart >= 0 && meter.firstFrameAt >= 0)
            stalls.push_back({stallStart, meter.sinceStart.elapsed() - stallStart});
        stallStart = -1;
    });
    QEventLoop loop;
    QObject::connect(player, &VideoPlayer::stopped, &loop, &QEventLoop::quit);
    const qint64 showMs = project.totalDuration();
    QTimer::singleShot(int(showMs * 3 + 60000), &loop, [&loop] {
        std::fprintf(stderr, "bench_previewplayer: the preview did not end in time\n");
        loop.exit(1);
    });
    meter.sinceStart.start();
    panel.playPreview(-1, QString(), false);
    if (loop.exec() != 0)
        return 1;
    const double wallMs = meter.sinceStart.elapsed();

    // Stalls that begin in the show's first second after its first frame are not counted.
    const qint64 countedFrom = meter.firstFrameAt + kGraceMs;
    qint64 stallMs = 0;
    int stallCount = 0;
    qint64 longest = 0;
    for (const Stall& stall : stalls) {
        if (stall.start < countedFrom)
            continue;
        ++stallCount;
        stallMs += stall.length;
        longest = std::max(longest, stall.length);
    }
    const std::vector<double>& paints = meter.frameMs;
    double sum = 0;
    for (double ms : paints)
        sum += ms;
    const double mean = paints.empty() ? 0 : sum / paints.size();
    std::vector<double> sorted = paints;
    std::sort(sorted.begin(), sorted.end());
    const double max = sorted.empty() ? 0 : sorted.back();
    const double p99 = sorted.empty() ? 0 : sorted[sorted.size() * 99 / 100];
    const qint64 counted = std::max<qint64>(1, showMs - kGraceMs);
    std::printf("device pixel ratio %.0f, panel %dx%d, show of %lld ms played in %.0f ms\n",
                player->devicePixelRatioF(), kPanelSize.width(), kPanelSize.height(),
                static_cast<long long>(showMs), wallMs);
    std::printf("  first painted frame      %8lld ms after playPreview\n", static_cast<long long>(meter.firstFrameAt));
    std::printf("  stalls after 1 s         %8d, %lld ms in all (%.1f %% of the show), longest %lld ms\n",
                stallCount, static_cast<long long>(stallMs), 100.0 * stallMs / counted,
                static_cast<long long>(longest));
    std::printf("  paint per frame          %8.2f ms mean, %.2f ms at the 99th percentile, %.2f ms max (%zu paints)\n",
                mean, p99, max, paints.size());
    std::printf("  peak memory              %8ld MB (resident %ld MB at the end)\n", peakResidentKb() / 1024,
                residentKb() / 1024);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A run of one ratio: bench_previewplayer --play <photo folder>.
    if (argc == 3 && qstrcmp(argv[1], "--play") == 0) {
        CApplicaiton app(argc, argv);
        return playOnce(QString::fromLocal8Bit(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir photos;
    for (int i = 0; i < kPhotos; ++i)
        writeBenchPhoto(photos, i);
    int result = 0;
    for (const char* ratio : {"1", "2"}) {
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(ratio));
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--play"), photos.path()});
        run.waitForFinished(-1);
        result |= run.exitCode();
    }
    return result;
}
