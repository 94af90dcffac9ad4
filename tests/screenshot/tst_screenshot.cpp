#include <QtTest>

#include "support/AppTestSupport.h"
#include "support/ScratchProfile.h"

#include "app/CApplicaiton.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"

#include <QDataStream>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kProgram = QStringLiteral(TY_BIN_DIR "/ty_screenshot");
constexpr int kRunMs = 120000;

// The size of the main window as the program closed it, from the geometry it saved in the
// profile now in force ("MainWindow_Geometry", QWidget::saveGeometry: magic, version, frame).
QSize savedWindowSize()
{
    const QSettings settings(CApplicaiton::configFilePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QDataStream stream(settings.value(QStringLiteral("MainWindow_Geometry")).toByteArray());
    quint32 magic = 0;
    quint16 major = 0;
    quint16 minor = 0;
    QRect frame;
    stream >> magic >> major >> minor >> frame;
    return frame.size();
}

} // namespace

// ty_screenshot over a tiny project in a profile of its own.
class TestScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesTheWindow();
    void failures_data();
    void failures();

private:
    struct Run
    {
        int code = -1;
        QString out;
        QString err;
    };
    Run run(const QString& project, const QStringList& extra = {}) const;
    QString png() const { return m_dir->filePath(QStringLiteral("shot/window.png")); }
    QString profile() const { return m_dir->filePath(QStringLiteral("profile")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_project;
};

void TestScreenshot::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    const QDir dir(m_dir->path());
    ProjectFile project(3000);
    QList<ProjectItem*> items;
    for (const auto& [name, colour] : {std::pair{"red.png", Qt::red}, std::pair{"blue.png", Qt::blue}}) {
        const QString photo = writeImage(dir.filePath(QLatin1String(name)), QSize(320, 240), colour);
        project.collectImageItems(photo, 3000, 2, items);
    }
    QCOMPARE(items.size(), 2);
    project.insertItems(items, -1);
    m_project = dir.filePath(QStringLiteral("project.json"));
    QVERIFY(project.save(m_project));
}

TestScreenshot::Run TestScreenshot::run(const QString& project, const QStringList& extra) const
{
    QProcess process;
    process.start(kProgram, QStringList{QStringLiteral("--project"), project, QStringLiteral("--profile"), profile(),
                                        QStringLiteral("--out"), png()}
                                + extra);
    Run result;
    if (!process.waitForFinished(kRunMs) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.code = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

void TestScreenshot::writesTheWindow()
{
    const Run result = run(m_project);
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QCOMPARE(result.out, png());
    const QImage shot(png());
    QVERIFY(!shot.isNull());
    const ScratchProfile ran(profile());
    QCOMPARE(shot.size(), savedWindowSize());
    // The project was reopened from the autosave folder, where the close kept it.
    std::unique_ptr<ProjectFile> kept(ProjectFile::load(AppPaths::latestProjectFile()));
    QVERIFY(kept);
    QCOMPARE(kept->itemCount(), 3);
}

void TestScreenshot::failures_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no project file") << QStringLiteral("missing.json") << QStringList() << 2
                                     << QStringLiteral("holds no project");
    QTest::newRow("bad time-out") << QString() << QStringList{QStringLiteral("--timeout"), QStringLiteral("soon")} << 2
                                  << QStringLiteral("usage:");
    // The main window comes only once the start screen has been up for two seconds.
    QTest::newRow("timed out") << QString() << QStringList{QStringLiteral("--timeout"), QStringLiteral("0")} << 3
                               << QStringLiteral("did not show its rows with their thumbnails in time");
}

void TestScreenshot::failures()
{
    QFETCH(QString, project);
    QFETCH(QStringList, extra);
    QFETCH(int, code);
    QFETCH(QString, message);
    const Run result = run(project.isEmpty() ? m_project : m_dir->filePath(project), extra);
    QCOMPARE(result.code, code);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QVERIFY(!QFileInfo::exists(png()));
}

QTEST_GUILESS_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
