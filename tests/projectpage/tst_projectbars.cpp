#include "BarsFixture.h"

#include "app/CSystemTools.h"
#include "model/ProjectItem.h"
#include "pages/EffectNames.h"
#include "pages/EffectSelectors.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesHeader.h"
#include "pages/SlideRowWidget.h"
#include "pages/TimeSelector.h"
#include "pages/TyStyle.h"
#include "resources/Resources.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CStyle.h"

#include <QFontMetrics>

#include <algorithm>

namespace {

int advance(const CWidgetText* label, const QString& text)
{
    return QFontMetrics(label->font()).horizontalAdvance(text);
}

int widestName(const CWidgetText* label, QString (*name)(int), int count)
{
    int widest = 0;
    for (int value = 0; value < count; ++value)
        widest = std::max(widest, advance(label, name(value)));
    return widest;
}

QList<int> slideTimes(const ProjectFile& project)
{
    QList<int> times;
    for (const ProjectItem* item : project.items())
        times.append(item->time_ms());
    return times;
}

} // namespace

// The header, the bar of actions for all slides and the column of selection actions on a page.
class TestProjectBars : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void headerWidthsFromCaptionFonts();
    void columnsLineUpAfterTexts();
    void forAllTimeSetsEverySlideAndDefault();
    void forAllFollowsSettingsWithoutProject();
    void settingsChangeKeepsProjectDefaults();
    void clearButtonCountsSlides_data();
    void clearButtonCountsSlides();
    void selectionButtons();

private:
    std::unique_ptr<BarsFixture> m_fixture;
};

void TestProjectBars::initTestCase()
{
    initSlideshowResources();
    CStyle* style = CSystemTools::instance()->style();
    style->registerPalette(new TyStyle(style));
    QVERIFY(style->setCurrentStyle(QStringLiteral("TyStyle")));
}

void TestProjectBars::init()
{
    m_fixture = std::make_unique<BarsFixture>();
}

void TestProjectBars::cleanup()
{
    m_fixture.reset();
}

void TestProjectBars::headerWidthsFromCaptionFonts()
{
    ProjectPage::SlidesHeader* header = m_fixture->page->slidesHeader();
    QCOMPARE(header->captionLabel(0)->text(), QStringLiteral("№"));
    QCOMPARE(header->captionLabel(3)->text(), QStringLiteral("Движение"));
    const CWidgetText* number = header->captionLabel(0);
    const CWidgetText* time = header->captionLabel(1);
    const CWidgetText* transition = header->captionLabel(2);
    const CWidgetText* motion = header->captionLabel(3);
    const CWidgetText* text = header->captionLabel(4);
    // Cell margins 0, 16 + 12, 12 + 12, 12 + 12, 12; the number caption has 8 on both sides.
    const int widths[] = {
        std::max(65 + 16 + advance(number, QStringLiteral("999")),
                 1 + 16 + advance(number, QStringLiteral("Общие настройки:"))),
        28 + std::max(time->sizeHint().width(), advance(time, QStringLiteral("999.9 сек"))),
        24 + std::max(transition->sizeHint().width(), widestName(transition, transitionName, 29)),
        24 + std::max(motion->sizeHint().width(), widestName(motion, motionName, 12)),
        12 + 26 + advance(text, QStringLiteral("Стиль")) + advance(text, QStringLiteral("Очистить список (999)")),
    };
    const AbstractRow::ColumnWidths columns = header->columnWidths();
    QCOMPARE(columns.size(), 5);
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(columns[column].first, widths[column]);
        QCOMPARE(columns[column].second, column == 4 ? QWIDGETSIZE_MAX : widths[column]);
    }
}

void TestProjectBars::columnsLineUpAfterTexts()
{
    m_fixture->bind();
    ProjectPage* page = m_fixture->page.get();
    page->show();
    page->updateTexts();
    QTRY_VERIFY(page->isVisible());
    QCoreApplication::processEvents();

    ProjectPage::SlidesHeader* header = page->slidesHeader();
    QList<AbstractRow*> rows = {page->forAllActions()};
    const QList<SlideRowWidget*> slideRows = page->findChildren<SlideRowWidget*>();
    QCOMPARE(slideRows.size(), m_fixture->project->itemCount());
    for (SlideRowWidget* row : slideRows)
        rows.append(row);
    for (AbstractRow* row : rows) {
        QCOMPARE(row->columnWidths(), header->columnWidths());
        // Every column but the last, which takes the rest of its row, is exactly as wide.
        for (int column = 0; column < 4; ++column)
            QCOMPARE(row->cell(column)->width(), header->cell(column)->width());
    }
}

void TestProjectBars::forAllTimeSetsEverySlideAndDefault()
{
    m_fixture->bind();
    ProjectFile* project = m_fixture->project.get();
    TimeSelector* time = m_fixture->page->forAllActions()->timeSelector();
    QCOMPARE(time->msecValue(), project->defaultTime_ms);

    time->setMsecValue(7000);
    QCOMPARE(slideTimes(*project), QVector<int>(project->itemCount(), 7000).toList());
    QCOMPARE(project->defaultTime_ms, 7000);
    // The settings keep their own default.
    QCOMPARE(m_fixture->settings.settings()->defaultTime_ms(), 3000);
}

void TestProjectBars::forAllFollowsSettingsWithoutProject()
{
    SettingsProvider* settings = m_fixture->settings.settings();
    ProjectPage::ForAllActions* forAll = m_fixture->page->forAllActions();
    QCOMPARE(forAll->timeSelector()->msecValue(), settings->defaultTime_ms());

    settings->setDefaultTime_ms(7000);
    settings->setDefaultTransition(TransitionType(5));
    settings->setDefaultMotion(MotionType(3));
    QCOMPARE(forAll->timeSelector()->msecValue(), 7000);
    QCOMPARE(int(forAll->transitionSelector()->transition()), 5);
    QCOMPARE(int(forAll->motionSelector()->motion()), 3);
    // Nothing was applied: the project, bound now, keeps its slides.
    const QList<int> times = slideTimes(*m_fixture->project);
    m_fixture->bind();
    QCOMPARE(slideTimes(*m_fixture->project), times);
    QCOMPARE(forAll->timeSelector()->msecValue(), m_fixture->project->defaultTime_ms);
}

void TestProjectBars::settingsChangeKeepsProjectDefaults()
{
    m_fixture->bind();
    ProjectFile* project = m_fixture->project.get();
    project->defaultTransition = 7;
    const QList<int> times = slideTimes(*project);
    SettingsProvider* settings = m_fixture->settings.settings();
    ProjectPage::ForAllActions* forAll = m_fixture->page->forAllActions();

    settings->setDefaultTransition(TransitionType(5));
    settings->setDefaultTime_ms(10000);
    QCOMPARE(int(forAll->transitionSelector()->transition()), 7);
    QCOMPARE(forAll->timeSelector()->msecValue(), project->defaultTime_ms);
    QCOMPARE(slideTimes(*project), times);
    QCOMPARE(project->defaultTime_ms, 3000);
}

void TestProjectBars::clearButtonCountsSlides_data()
{
    QTest::addColumn<int>("slides");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("title only") << 1 << QStringLiteral("Очистить список") << false;
    QTest::newRow("one more") << 2 << QStringLiteral("Очистить список (1)") << true;
    QTest::newRow("thirteen") << 13 << QStringLiteral("Очистить список (12)") << true;
}

void TestProjectBars::clearButtonCountsSlides()
{
    QFETCH(int, slides);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    ProjectPage::ForAllActions* forAll = m_fixture->page->forAllActions();
    forAll->updateClearButton(slides);
    QCOMPARE(forAll->clearButton()->text(), text);
    QCOMPARE(forAll->clearButton()->isEnabled(), enabled);
    // Re-reading the texts keeps the count.
    forAll->updateTexts();
    QCOMPARE(forAll->clearButton()->text(), text);
    QCOMPARE(forAll->styleButton()->text(), QStringLiteral("Стиль"));
    QCOMPARE(forAll->label()->text(), QStringLiteral("Общие настройки:"));
}

void TestProjectBars::selectionButtons()
{
    ProjectPage::SelectionActions* actions = m_fixture->page->selectionActions();
    struct Expected
    {
        CButton* button;
        const char* icon;
        QString toolTip;
        bool checkable;
    };
    const Expected expected[] = {
        {actions->upButton(), ":/up.svg", QString(), false},
        {actions->downButton(), ":/down.svg", QString(), false},
        {actions->duplicateButton(), ":/duplicate.svg", QStringLiteral("Создать копию"), false},
        {actions->rotateButton(), ":/rotate.svg", QStringLiteral("Повернуть"), false},
        {actions->shuffleButton(), ":/shuffle.svg", QStringLiteral("Перемешать слайды"), false},
        {actions->sortByNameButton(), ":/sort.svg", QStringLiteral("Сортировать слайды по имени"), true},
        {actions->sortByDateButton(), ":/sort_by_date.svg", QStringLiteral("Сортировать слайды по дате"), true},
    };
    int lastIndex = -1;
    for (const Expected& e : expected) {
        QVERIFY(e.button->icon());
        QCOMPARE(e.button->icon()->path(), QString::fromLatin1(e.icon));
        QCOMPARE(e.button->toolTip(), e.toolTip);
        QCOMPARE(e.button->isCheckable(), e.checkable);
        const int index = actions->indexOf(e.button);
        QVERIFY2(index > lastIndex, e.icon);
        lastIndex = index;
    }
}

TY_UI_TEST_MAIN(TestProjectBars)
#include "tst_projectbars.moc"
