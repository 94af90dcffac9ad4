#include "support/MainWindowFixture.h"

#include "model/ProjectFile.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesHeader.h"
#include "pages/ProjectPageVideoSettingsBox.h"

#include <QLayout>
#include <QTemporaryDir>
#include <QtTest>

// How wide the main window must be with a project on its page: as wide as the slide list's
// columns, the selection bar and the video settings ask, and no wider.
class TestProjectPageWidth : public QObject
{
    Q_OBJECT

private slots:
    void widthComesFromColumnsAndSettings();
};

void TestProjectPageWidth::widthComesFromColumnsAndSettings()
{
    QTemporaryDir dir;
    WindowFixture f;
    // A photo added through the file dialog brings the project page.
    const QStringList photos = {writeImage(dir.filePath(QStringLiteral("a.png")))};
    {
        DialogFiles answer(photos);
        f.window()->addPhotos();
    }
    ProjectPage* page = f.window()->projectPage();
    QTRY_VERIFY(page->isVisible());
    int columns = 0;
    for (const auto& width : page->slidesHeader()->columnWidths())
        columns += width.first;
    const QMargins margins = page->layout()->contentsMargins();
    const int expected = margins.left() + columns + page->selectionActions()->minimumSize().width()
                         + page->videoSettingsBox()->minimumSizeHint().width() + margins.right();
    QCOMPARE(page->minimumSizeHint().width(), expected);
    QCOMPARE(f.window()->minimumSizeHint().width(), expected);
}

TY_MAINWINDOW_TEST_MAIN(TestProjectPageWidth)
#include "tst_projectpagewidth.moc"
