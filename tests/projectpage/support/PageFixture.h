#pragma once

// Support for the project-page tests.
//
//   TY_PAGE_TEST_MAIN(MyTest)   main() with private HOME/XDG folders and a CApplicaiton whose
//                               settings (the program's SettingsProvider) live in them
//   PageFixture f;              a 1280 x 800 page over a project of a title slide and photo and
//                               colour slides, its messages recorded, its music on a fake player
//   f.order()                   the slides by their fixture names, title slide first as "T"

#include "pages/ProjectPage.h"

#include <QStringList>
#include <QTest>
#include <QTemporaryDir>

#include <memory>

class HistoryModel;
class ProjectFile;
class ProjectItem;
class SettingsProvider;

SettingsProvider* testSettings();

template <class Test>
int runPageTest(int argc, char** argv);

// What the page asked and told.
struct RecordedMessages
{
    RecordedMessages();
    ~RecordedMessages();

    bool clearAnswer = true;
    int clearQuestions = 0;
    int noImages = 0;
    QList<QStringList> missing;
    QStringList errors;
};

class PageFixture
{
public:
    // slides: one letter per slide after the title, "p" a photo, "c" a colour slide; each is
    // named by its position ("1", "2", ...): a photo by its file name, a colour slide by its time.
    explicit PageFixture(const QString& slides = QStringLiteral("ppcpp"), bool bind = true);
    ~PageFixture();

    ProjectPage* page() const { return m_page.get(); }
    ProjectFile* project() const { return m_project.get(); }
    HistoryModel* history() const { return m_history.get(); }
    QString folder() const { return m_dir.path(); }
    // A small JPEG in the fixture folder (or in a folder under it).
    QString writeImage(const QString& relativePath) const;

    // The fixture name of each slide in order.
    QStringList order() const;
    QString nameOf(const ProjectItem* item) const;
    // Selects the rows through the view's selection model.
    void select(const QList<int>& rows) const;
    QList<int> selectedRows() const;

    RecordedMessages messages;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<HistoryModel> m_history;
    std::unique_ptr<ProjectFile> m_project;
    std::unique_ptr<ProjectPage> m_page;
};

int runPageTestMain(int argc, char** argv, int (*run)(int, char**));

template <class Test>
int runPageTest(int argc, char** argv)
{
    return runPageTestMain(argc, argv, [](int count, char** values) {
        Test test;
        return QTest::qExec(&test, count, values);
    });
}

#define TY_PAGE_TEST_MAIN(Test) \
    int main(int argc, char** argv) { return runPageTest<Test>(argc, argv); }
