// Parts of the editing pages under the application's look: the progress box composing, paused
// and importing; the history page with a present and a missing video, sorted both ways; the
// settings page; drop
// indicators of both kinds, dimmed and highlighted, at each ratio; the drag icon with the drop
// allowed and refused.

#include "Gallery.h"
#include "GalleryTyStyle.h"

#include "app/HistoryModel.h"
#include "app/SettingsProvider.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "pages/DragIcon.h"
#include "pages/DropIndicator.h"
#include "pages/HistoryPage.h"
#include "pages/ProgressBox.h"
#include "pages/SettingsBox.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

const QSize kIndicatorSizes[] = {QSize(240, 120), QSize(240, 40)};

// A row to drag: a filled panel with a text button on it.
QWidget* makeDragRow()
{
    auto* row = new QWidget;
    row->setAutoFillBackground(true);
    QPalette colours = row->palette();
    colours.setColor(QPalette::Window, currentPalette()->color(2));
    row->setPalette(colours);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 6, 12, 6);
    auto* button = new CButton(11);
    button->setText(QStringLiteral("Фото 01.jpg"));
    layout->addWidget(button);
    layout->addStretch(1);
    row->resize(260, 48);
    return row;
}

// A box of the job, shown to its end, after its first tick of the elapsed time.
void addProgressBox(GalleryPage& page, bool dark, const QString& state, const std::function<void(ProgressBox&)>& start)
{
    ManualAnimationClock animations;
    QWidget window;
    window.resize(560, 100);
    auto* box = new ProgressBox(&window);
    box->setClock([] { return qint64(0); });
    box->setGeometry(0, 0, 560, 100);
    if (!showExposed(&window))
        return;
    QSignalSpy ticked(box->elapsedLabel(), &CWidgetText::textChanged);
    start(*box);
    animations.advance(2000);
    ticked.wait(2000);
    QCoreApplication::processEvents();
    page.add(renderWidget(box, 1.0, currentPalette()->color(2)), state, dark);
}

} // namespace

TY_GALLERY_ENTRY("page-progress-box")
{
    for (bool dark : {false, true}) {
        dark ? useTyStyle() : page.usePalette(false);
        addProgressBox(page, dark, QStringLiteral("composing"), [](ProgressBox& box) {
            box.startComposing();
            box.setProgress(37, 754000);
        });
        addProgressBox(page, dark, QStringLiteral("paused"), [](ProgressBox& box) {
            box.startComposing();
            box.setProgress(62, 0);
            box.pauseButton()->setCheckedAndEmit(true);
            QSignalSpy(&box, &ProgressBox::pauseToggled).wait(2000);
        });
        addProgressBox(page, dark, QStringLiteral("importing"), [](ProgressBox& box) {
            box.startImport();
            box.setProgress(18, 0);
        });
    }
}

TY_GALLERY_ENTRY("page-drop-indicator")
{
    for (bool dark : {false, true}) {
        dark ? useTyStyle() : page.usePalette(false);
        for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
            for (int kind : {0, 1}) {
                for (double highlight : {0.0, 1.0}) {
                    DropIndicator indicator(nullptr, kind, false);
                    indicator.resize(kIndicatorSizes[kind]);
                    indicator.setHighlight(highlight);
                    const QImage image = paintInScope(indicator.size(), ratio, [&](CPainterScope& scope) {
                        scope.painter()->fillRect(scope.area(), currentPalette()->color(2));
                        indicator.paint(scope);
                    });
                    page.add(image, QStringLiteral("kind%1-highlight%2").arg(kind).arg(int(highlight)), dark,
                             ratio);
                }
            }
        }
    }
}

TY_GALLERY_ENTRY("page-drag-icon")
{
    for (bool dark : {false, true}) {
        dark ? useTyStyle() : page.usePalette(false);
        std::unique_ptr<QWidget> row(makeDragRow());
        for (bool allowed : {true, false}) {
            DragIcon icon;
            icon.showFor(row.get(), QPoint(30, 20));
            icon.setScale(0.9);
            icon.setDropAllowedProgress(allowed ? 0.0 : 1.0);
            page.add(renderWidget(&icon, 1.0), allowed ? QStringLiteral("allowed") : QStringLiteral("refused"), dark);
            icon.hideIcon();
        }
    }
}

TY_GALLERY_ENTRY("page-history")
{
    useTyStyle();
    ManualAnimationClock animations;
    QTemporaryDir videos;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(videos.filePath(QStringLiteral("config"))));
    {
        HistoryModel history;
        const struct
        {
            const char* name;
            qint64 bytes;
            int durationMs;
        } entries[] = {{"Отпуск 2024.mp4", 48234496, 185000}, {"День рождения.mp4", -1, 3725000}};
        for (const auto& entry : entries) {
            const QString path = videos.filePath(QString::fromUtf8(entry.name));
            QFile video(path);
            if (entry.bytes >= 0 && (!video.open(QIODevice::WriteOnly) || !video.resize(entry.bytes)))
                continue;
            ProjectFile project(0);
            project.file_name = path;
            project.resolution = Resolution(1920, 1080);
            project.insertItems({new ProjectItemColor(entry.durationMs, 0)}, -1);
            history.addProject(&project);
        }
        HistoryPage historyPage(&history, nullptr);
        historyPage.updateTexts();
        historyPage.resize(1000, 260);
        if (!showExposed(&historyPage))
            return;
        animations.advance(2000);
        page.add(renderWidget(&historyPage, 1.0, currentPalette()->color(2)), QStringLiteral("newest-first"), true);
        emit historyPage.header()->nameHeading->clicked();
        animations.advance(2000);
        page.add(renderWidget(&historyPage, 1.0, currentPalette()->color(2)), QStringLiteral("by-name"), true);
    }
    qputenv("XDG_CONFIG_HOME", savedConfig);
}

TY_GALLERY_ENTRY("page-settings")
{
    useTyStyle();
    ManualAnimationClock animations;
    QTemporaryDir folder;
    const QString videos = folder.filePath(QStringLiteral("Видео"));
    QDir().mkpath(videos);
    SettingsProvider settings(folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat, nullptr);
    settings.setFolder(videos);
    settings.setAudioOffset(-3);
    QWidget window;
    window.resize(980, 640);
    auto* box = new SettingsBox(&settings, &window);
    box->updateTexts();
    box->setGeometry(0, 0, 980, 640);
    if (!showExposed(&window))
        return;
    box->showAnimated();
    animations.advance(2000);
    page.add(renderWidget(box, 1.0, currentPalette()->color(2)), QString(), true);
}
