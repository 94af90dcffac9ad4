#include "support/MainWindowFixture.h"

#include "support/AppTestSupport.h"
#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "app/Application.h"
#include "app/SettingsProvider.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "pages/ProjectPage.h"
#include "resources/Resources.h"
#include "uilib/controls/CButton.h"

#include <QSignalSpy>
#include <QStackedWidget>

namespace {

Application* s_app = nullptr;
SettingsProvider* s_settings = nullptr;

} // namespace

Application* testApp()
{
    return s_app;
}

SettingsProvider* testSettings()
{
    return s_settings;
}

PageMessages& pageMessages()
{
    static PageMessages messages;
    return messages;
}

WindowFixture::WindowFixture(bool withProject)
    : m_window(new MainWindow)
{
    m_window->resize(1200, 800);
    m_window->show();
    if (withProject)
        m_window->newProject();
    pageMessages().reset();
}

WindowFixture::~WindowFixture() = default;

int WindowFixture::currentPage() const
{
    return m_window->pages()->currentIndex();
}

bool clickInPlace(CButton* button)
{
    // A checkable button tells of a click by its toggle.
    QSignalSpy clicked(button, button->isCheckable() ? SIGNAL(toggled(bool)) : SIGNAL(clicked()));
    sendClick(button);
    return clicked.count() > 0 || clicked.wait(5000);
}

std::unique_ptr<ProjectFile> photoProject(const QStringList& photos, const QString& output)
{
    auto project = std::make_unique<ProjectFile>(3000);
    project->file_name = output;
    QList<ProjectItem*> items;
    for (const QString& photo : photos)
        items.append(new ProjectItemSimple(photo, 3000, 2));
    project->insertItems(items, -1);
    return project;
}

int runMainWindowTestMain(int argc, char** argv, int (*run)(int, char**))
{
    PrivateFolders folders;
    if (!folders.isValid())
        return 1;
    Application app(argc, argv);
    s_app = &app;
    QCoreApplication::setApplicationName(QStringLiteral("ty main window test"));
    app.setVersion(QStringLiteral("1.1.3"));
    initSlideshowResources();
    s_settings = new SettingsProvider(CApplicaiton::configFilePath(QStringLiteral("settings.ini")),
                                      QSettings::IniFormat, &app);
    app.setSettings(s_settings);
    ProjectPage::Messages messages;
    messages.confirmClearProject = [] { return true; };
    messages.showNoImagesInFolder = [] { ++pageMessages().noImages; };
    messages.showMissingFiles = [](const QStringList&) {};
    messages.showCreationError = [](const QString& error) { pageMessages().errors.append(error); };
    ProjectPage::setMessages(messages);
    app.init();
    const int code = run(argc, argv);
    s_app = nullptr;
    return code;
}
