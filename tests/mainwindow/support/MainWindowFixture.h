#pragma once

// Support for the main-window tests.
//
//   TY_MAINWINDOW_TEST_MAIN(MyTest)   main() with private HOME/XDG folders, the program's
//                                     application at version "1.1.3" with its settings, history
//                                     and main window, and the project page's messages recorded
//   WindowFixture f;                  a shown 1200 x 800 main window over a new project
//   photoProject(photos, output)      a project of a title slide and the photos
//   DialogFiles answer(paths);        the file and folder dialogs answer the paths while it lives
//   writeImage(path)                  a small picture, its folders made as needed (AppTestSupport.h)
//   clickAsUser(button)               a user's click, true once it came through (UiTestSupport.h)
//   clickInPlace(button)              enter, press and release given to the button itself (for
//                                     buttons beyond the offscreen screen's edge); true once it
//                                     came through (toggled, for a checkable button)

#include "support/AppTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "app/MainWindow.h"

#include <QStringList>
#include <QTest>

#include <memory>

class Application;
class ProjectFile;
class CButton;
class SettingsProvider;

Application* testApp();
SettingsProvider* testSettings();

// What the project page told the user since the last reset().
struct PageMessages
{
    int noImages = 0;
    QStringList errors;
    void reset() { *this = PageMessages(); }
};
PageMessages& pageMessages();

class WindowFixture
{
public:
    explicit WindowFixture(bool withProject = true);
    ~WindowFixture();

    MainWindow* window() const { return m_window.get(); }
    int currentPage() const;

private:
    std::unique_ptr<MainWindow> m_window;
};

// Answers the file and folder dialogs with the given paths while it lives.
struct DialogFiles
{
    explicit DialogFiles(const QStringList& answer)
    {
        CSystemTools::setFileDialogFunction([answer](const FileDialogRequest&) { return answer; });
    }
    ~DialogFiles() { CSystemTools::setFileDialogFunction({}); }
    DialogFiles(const DialogFiles&) = delete;
    DialogFiles& operator=(const DialogFiles&) = delete;
};

bool clickInPlace(CButton* button);
// A project of a title slide and the photos, 3 s each, with that output file name.
std::unique_ptr<ProjectFile> photoProject(const QStringList& photos, const QString& output = QString());

int runMainWindowTestMain(int argc, char** argv, int (*run)(int, char**));

#define TY_MAINWINDOW_TEST_MAIN(Test)                                                \
    int main(int argc, char** argv)                                                  \
    {                                                                                \
        return runMainWindowTestMain(argc, argv, [](int count, char** values) {     \
            Test test;                                                               \
            return QTest::qExec(&test, count, values);                               \
        });                                                                          \
    }
