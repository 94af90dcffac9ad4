#pragma once

#include "SettingsFixture.h"

#include "app/HistoryModel.h"
#include "app/audio/Mp3.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "pages/ProjectPage.h"
#include "pages/VideoPlayerWidget.h"
#include "support/FakeAudioPlayer.h"

#include <memory>

// A project page over settings of its own, with silent messages and fake music, and a project
// of the title slide and colour slides of different times.
struct BarsFixture
{
    explicit BarsFixture(int colourSlides = 4)
    {
        ProjectPage::setMessages({[] { return false; }, [] {}, [](const QStringList&) {}, [](const QString&) {}});
        page = std::make_unique<ProjectPage>(&history, settings.folder(), nullptr);
        page->previewPanel()->setMusicPlayerFactory(
            [](QObject* parent) { return new Mp3(new FakeAudioPlayer, parent); });
        page->resize(1280, 800);
        page->updateTexts();
        project = std::make_unique<ProjectFile>(2000);
        project->format = QStringLiteral("webm");
        QList<ProjectItem*> slides;
        for (int i = 0; i < colourSlides; ++i)
            slides.append(ProjectFile::createColorItem(i % 4, 1000 * (i + 1), TransitionNone));
        project->insertItems(slides, -1);
    }
    ~BarsFixture() { ProjectPage::setMessages({}); }

    void bind() { page->setProject(project.get(), false); }

    SettingsFixture settings;
    HistoryModel history;
    std::unique_ptr<ProjectFile> project;
    std::unique_ptr<ProjectPage> page;
};
