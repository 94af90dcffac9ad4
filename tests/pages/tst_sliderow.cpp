#include "support/UiTestSupport.h"

#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "pages/EffectSelectors.h"
#include "pages/InterfaceText.h"
#include "pages/SlideRowWidget.h"
#include "pages/TimeSelector.h"
#include "platform/FileTime.h"
#include "resources/Resources.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CIcon.h"

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QSignalSpy>

namespace {

// A photo slide that tells how many receivers its caption signal has.
class CountedSlide : public ProjectItemSimple
{
public:
    using ProjectItemSimple::ProjectItemSimple;
    int captionReceivers() const { return receivers(SIGNAL(textChanged())); }
};

QString iconOf(CButton* button)
{
    return button->icon() ? button->icon()->path() : QString();
}

// The row's own context menu: the one holding the show-in-folder item.
CButton* showInFolderItem(QWidget* row)
{
    for (CWindowMenu* menu : row->findChildren<CWindowMenu*>())
        for (CButton* button : menu->findChildren<CButton*>())
            if (button->text() == interfaceText(220))
                return button;
    return nullptr;
}

QString expectedLine(int label, const QString& value)
{
    return interfaceText(label) + QStringLiteral(": <b>") + value + QStringLiteral("</b>");
}

} // namespace

// One row of the slide list bound to its slide.
class TestSlideRow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }
    void cleanup();
    void bindingWritesNothingBack();
    void rebindingSameSlideAddsNoConnection();
    void timeIsInSlideBeforeDurationChanged();
    void selectorsOfWrongKindAreIgnored();
    void captionShowsOnOneLine_data();
    void captionShowsOnOneLine();
    void eyeHidesVisibleTitleSlide();
    void otherSlidesDelete();
    void toolTipOfPhoto();
    void toolTipOfUnreadableFile();
    void toolTipsOfOtherKinds();
    void contextMenuOnlyForExistingFile();
    void destroyedSlideDoesNothing();

private:
    QString writeJpeg(const QString& name, const QSize& size);
    QTemporaryDir m_dir;
};

void TestSlideRow::cleanup()
{
    SlideRowWidget::setShowInFolder({});
}

QString TestSlideRow::writeJpeg(const QString& name, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = m_dir.filePath(name);
    return image.save(path, "jpg") ? path : QString();
}

void TestSlideRow::bindingWritesNothingBack()
{
    ProjectItemSimple slide(m_dir.filePath(QStringLiteral("a.jpg")), 3000, TransitionType(5));
    slide.setMotion(MotionPanUp);
    SlideRowWidget row(&slide, QStringLiteral("01"), false);
    QSignalSpy durations(&row, &SlideRowWidget::durationChanged);
    QSignalSpy transitions(&row, &SlideRowWidget::transitionChanged);
    QSignalSpy motions(&row, &SlideRowWidget::motionChanged);
    row.setItem(&slide, QStringLiteral("02"));
    QCoreApplication::processEvents();

    QCOMPARE(row.numberLabel()->text(), QStringLiteral("02"));
    QCOMPARE(row.timeSelector()->msecValue(), 3000);
    QCOMPARE(int(row.transitionSelector()->transition()), 5);
    QCOMPARE(int(row.motionSelector()->motion()), int(MotionPanUp));
    QCOMPARE(slide.time_ms(), 3000);
    QCOMPARE(slide.transition, 5);
    QCOMPARE(slide.motion(), int(MotionPanUp));
    QCOMPARE(durations.count() + transitions.count() + motions.count(), 0);
    QVERIFY(!row.motionSelector()->isHidden());
}

void TestSlideRow::rebindingSameSlideAddsNoConnection()
{
    CountedSlide slide(QString(), 1000, 0);
    SlideRowWidget row(&slide, QStringLiteral("1"), false);
    const int receivers = slide.captionReceivers();
    row.setItem(&slide, QStringLiteral("7"));
    QCOMPARE(slide.captionReceivers(), receivers);
    QCOMPARE(row.numberLabel()->text(), QStringLiteral("7"));

    CountedSlide other(QString(), 1000, 0);
    row.setItem(&other, QStringLiteral("8"));
    QCOMPARE(slide.captionReceivers(), receivers - 1);
}

void TestSlideRow::timeIsInSlideBeforeDurationChanged()
{
    ProjectItemSimple slide(QString(), 2000, 0);
    SlideRowWidget row(&slide, QStringLiteral("1"), false);
    int seen = -1;
    ProjectItem* reported = nullptr;
    connect(&row, &SlideRowWidget::durationChanged, this, [&](ProjectItem* item) {
        reported = item;
        seen = item->time_ms();
    });
    row.timeSelector()->setMsecValue(7000);
    QCOMPARE(seen, 7000);
    QCOMPARE(reported, &slide);
}

void TestSlideRow::selectorsOfWrongKindAreIgnored()
{
    ProjectItemColor colour(1000, 3);
    SlideRowWidget colourRow(&colour, QStringLiteral("2"), false);
    QVERIFY(colourRow.motionSelector()->isHidden());
    QSignalSpy motions(&colourRow, &SlideRowWidget::motionChanged);
    emit colourRow.motionSelector()->motionChanged(MotionPanLeft);
    QCOMPARE(motions.count(), 0);
    QSignalSpy colourTransitions(&colourRow, &SlideRowWidget::transitionChanged);
    emit colourRow.transitionSelector()->transitionChanged(TransitionType(7));
    QCOMPARE(colourTransitions.count(), 1);
    QCOMPARE(colour.transition, 7);

    ProjectItemFirst title(3000);
    SlideRowWidget titleRow(&title, QString(), true);
    QVERIFY(!titleRow.transitionSelector()->isEnabled());
    QSignalSpy transitions(&titleRow, &SlideRowWidget::transitionChanged);
    emit titleRow.transitionSelector()->transitionChanged(TransitionType(7));
    QCOMPARE(transitions.count(), 0);
}

void TestSlideRow::captionShowsOnOneLine_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two lines") << QStringLiteral("Первая\nвторая") << QStringLiteral("Первая вторая");
    QTest::newRow("one line") << QStringLiteral("Море") << QStringLiteral("Море");
    QTest::newRow("empty") << QString() << QString();
}

void TestSlideRow::captionShowsOnOneLine()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    ProjectItemSimple slide(QString(), 1000, 0);
    SlideRowWidget row(&slide, QStringLiteral("1"), false);
    SlideText text = slide.text();
    text.text = caption;
    slide.setText(text);
    QCOMPARE(row.captionButton()->text(), shown);
    QCOMPARE(row.captionButton()->isHidden(), shown.isEmpty());
    QCOMPARE(row.addCaptionButton()->isHidden(), !shown.isEmpty());
}

void TestSlideRow::eyeHidesVisibleTitleSlide()
{
    ProjectItemFirst title(3000);
    SlideRowWidget row(&title, QString(), true);
    CButton* eye = row.visibilityOrDeleteButton();
    QCOMPARE(eye->styleKind(), 1040);
    QCOMPARE(iconOf(eye), QStringLiteral(":/eye-opened.svg"));
    QCOMPARE(eye->toolTip(), interfaceText(206));
    QSignalSpy deletes(&row, &SlideRowWidget::deleteClicked);

    emit eye->clicked();
    QVERIFY(!title.isVisible());
    QCOMPARE(iconOf(eye), QStringLiteral(":/eye-closed.svg"));
    QCOMPARE(eye->toolTip(), interfaceText(209));
    QCOMPARE(deletes.count(), 0);

    emit eye->clicked();
    QVERIFY(title.isVisible());
    QCOMPARE(iconOf(eye), QStringLiteral(":/eye-opened.svg"));
}

void TestSlideRow::otherSlidesDelete()
{
    ProjectItemColor colour(1000, 0);
    SlideRowWidget row(&colour, QStringLiteral("3"), false);
    CButton* trash = row.visibilityOrDeleteButton();
    QCOMPARE(trash->styleKind(), 1041);
    QCOMPARE(iconOf(trash), QStringLiteral(":/trash.svg"));
    QCOMPARE(trash->toolTip(), interfaceText(210));
    QSignalSpy deletes(&row, &SlideRowWidget::deleteClicked);
    emit trash->clicked();
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(deletes.at(0).at(0).value<ProjectItem*>(), &colour);
}

void TestSlideRow::toolTipOfPhoto()
{
    // Markup in a file name is shown as written.
    const QString path = writeJpeg(QStringLiteral("<i>x&y.jpg"), QSize(40, 30));
    QVERIFY(!path.isEmpty());
    ProjectItemSimple slide(path, 1000, 0);
    SlideRowWidget row(&slide, QStringLiteral("1"), false);

    const QFileInfo info(path);
    const QLocale locale(QStringLiteral("ru_RU"));
    QString created = locale.toString(FileTime::created(info), QLocale::LongFormat);
    if (created.endsWith(QLatin1String(" t")))
        created.chop(2);
    const QStringList lines = {
        expectedLine(211, QStringLiteral("&lt;i&gt;x&amp;y.jpg")),
        expectedLine(212, QDir::toNativeSeparators(info.absolutePath()).toHtmlEscaped()),
        expectedLine(213, created),
        expectedLine(214, locale.formattedDataSize(info.size(), 2, QLocale::DataSizeTraditionalFormat)),
        expectedLine(215, QStringLiteral("40x30")),
        interfaceText(216) + QStringLiteral(": jpeg"),
    };
    QCOMPARE(row.toolTipText(), QStringLiteral("<p style='white-space:pre'>%1</p>").arg(lines.join('\n')));
}

void TestSlideRow::toolTipOfUnreadableFile()
{
    const QString path = m_dir.filePath(QStringLiteral("gone.jpg"));
    ProjectItemSimple slide(path, 1000, 0);
    SlideRowWidget row(&slide, QStringLiteral("1"), false);
    const QStringList lines = {
        QStringLiteral("<font color='red'>%1</font>").arg(interfaceText(217)),
        expectedLine(211, QStringLiteral("gone.jpg")),
        expectedLine(212, QDir::toNativeSeparators(m_dir.path()).toHtmlEscaped()),
    };
    QCOMPARE(row.toolTipText(), QStringLiteral("<p style='white-space:pre'>%1</p>").arg(lines.join('\n')));
}

void TestSlideRow::toolTipsOfOtherKinds()
{
    ProjectItemFirst title(3000);
    SlideRowWidget titleRow(&title, QString(), true);
    QCOMPARE(titleRow.toolTipText(), interfaceText(207));
    ProjectItemColor colour(1000, 0);
    SlideRowWidget colourRow(&colour, QStringLiteral("2"), false);
    QCOMPARE(colourRow.toolTipText(), interfaceText(208));
}

void TestSlideRow::contextMenuOnlyForExistingFile()
{
    QStringList shown;
    SlideRowWidget::setShowInFolder([&shown](const QString& path) { shown << path; });
    const QString path = writeJpeg(QStringLiteral("menu.jpg"), QSize(8, 8));
    ProjectItemSimple missing(m_dir.filePath(QStringLiteral("none.jpg")), 1000, 0);
    SlideRowWidget row(&missing, QStringLiteral("1"), false);
    emit row.customContextMenuRequested(QPoint());
    QVERIFY(!showInFolderItem(&row));

    ProjectItemSimple photo(path, 1000, 0);
    row.setItem(&photo, QStringLiteral("1"));
    emit row.customContextMenuRequested(QPoint());
    CButton* item = showInFolderItem(&row);
    QVERIFY(item);
    QCOMPARE(iconOf(item), QStringLiteral(":/folder-outline.svg"));
    emit item->clicked();
    QCOMPARE(shown, QStringList{path});
}

void TestSlideRow::destroyedSlideDoesNothing()
{
    auto* title = new ProjectItemFirst(3000);
    SlideRowWidget row(title, QString(), true);
    delete title;
    QSignalSpy deletes(&row, &SlideRowWidget::deleteClicked);
    QSignalSpy previews(&row, &SlideRowWidget::previewClicked);
    QSignalSpy texts(&row, &SlideRowWidget::textClicked);
    QSignalSpy durations(&row, &SlideRowWidget::durationChanged);
    emit row.visibilityOrDeleteButton()->clicked();
    emit row.thumbnail()->clicked();
    emit row.captionButton()->clicked();
    emit row.addCaptionButton()->clicked();
    emit row.timeSelector()->msecValueChanged(500);
    emit row.customContextMenuRequested(QPoint());
    QCOMPARE(deletes.count() + previews.count() + texts.count() + durations.count(), 0);
    QVERIFY(!showInFolderItem(&row));
    QVERIFY(!renderWidget(&row, 1.0).isNull());
}

TY_UI_TEST_MAIN(TestSlideRow)
#include "tst_sliderow.moc"
