#include "support/UiTestSupport.h"

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideBackground.h"
#include "pages/EffectSelectors.h"
#include "pages/FontsCombo.h"
#include "pages/InterfaceText.h"
#include "pages/TextPage.h"
#include "pages/TextPagePrivate.h"
#include "uilib/controls/CTextEdit.h"
#include "uilib/controls/CWidgetText.h"

#include <QSignalSpy>

#include <memory>

namespace {

// A project of the title slide and `photos` photo slides captioned "s1", "s2", ...
std::unique_ptr<ProjectFile> makeProject(int photos)
{
    auto project = std::make_unique<ProjectFile>(3000);
    project->resolution = Resolution(1920, 1080);
    QList<ProjectItem*> items;
    for (int i = 1; i <= photos; ++i) {
        auto* slide = new ProjectItemSimple(QString(), 1000, 0);
        SlideText caption = slide->text();
        caption.text = QStringLiteral("s%1").arg(i);
        slide->setText(caption);
        items << slide;
    }
    project->insertItems(items, project->itemCount());
    return project;
}

} // namespace

// The caption editor: edits, the spread of a saved style, cancel and the page's questions.
class TestTextPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void captionIsCutAt255_data();
    void captionIsCutAt255();
    void spacesOnlyBecomeEmpty();
    void savingOneSlideRestylesNeverSavedSlides();
    void allSlidesSaveAsksFirst();
    void allSlidesSaveReplacesTextsByToggle_data();
    void allSlidesSaveReplacesTextsByToggle();
    void escapeAfterTextOnlyEditSpreadsNothing();
    void cancelRestoresTitleCaptionAndBackground();
    void cancelKeepsColourSlideBackground();
    void previewFitsResolution_data();
    void previewFitsResolution();
    void newAnimationPlaysForOneSlideOnly();
    void projectDefaultCaptionStartsAllSlides();

private:
    TextPage::Private* d() const { return m_page->d_func(); }
    void setFont(const QString& family) { d()->font->control()->setFamily(family); }

    std::unique_ptr<TextPage> m_page;
    int m_questions = 0;
    bool m_answer = true;
    int m_pickerResult = 1;
    TextPage::ColorChoice m_pick;
};

void TestTextPage::init()
{
    m_questions = 0;
    m_answer = true;
    m_pickerResult = 1;
    TextPage::setOverwriteQuestion([this](QWidget*) {
        ++m_questions;
        return m_answer;
    });
    TextPage::setColorPicker([this](QWidget*, int, const TextPage::ColorChoice&, TextPage::ColorChoice* chosen) {
        *chosen = m_pick;
        return m_pickerResult;
    });
    m_page = std::make_unique<TextPage>();
    m_page->resize(700, 700);
}

void TestTextPage::cleanup()
{
    m_page.reset();
    TextPage::setOverwriteQuestion({});
    TextPage::setColorPicker({});
}

void TestTextPage::captionIsCutAt255_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    const QString full(255, QLatin1Char('a'));
    QTest::newRow("255 kept") << full << full;
    QTest::newRow("256th refused") << full + QLatin1Char('b') << full;
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("pair across the limit") << QString(254, QLatin1Char('a')) + smile
                                           << QString(254, QLatin1Char('a'));
    QTest::newRow("pair before the limit") << QString(253, QLatin1Char('a')) + smile + QLatin1Char('c')
                                           << QString(253, QLatin1Char('a')) + smile;
}

void TestTextPage::captionIsCutAt255()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    auto project = makeProject(1);
    m_page->setProject(project.get());
    m_page->setItem(project->item(1));
    d()->textEditor->control()->setPlainText(typed);
    QCOMPARE(project->item(1)->text().text, stored);
    QCOMPARE(d()->textEditor->control()->toPlainText(), stored);
}

void TestTextPage::spacesOnlyBecomeEmpty()
{
    auto project = makeProject(1);
    m_page->setProject(project.get());
    m_page->setItem(project->item(1));
    d()->textEditor->control()->setPlainText(QStringLiteral("   \n  "));
    QCOMPARE(project->item(1)->text().text, QString());
}

void TestTextPage::savingOneSlideRestylesNeverSavedSlides()
{
    auto project = makeProject(4);
    ProjectItem* first = project->item(1);
    ProjectItem* saved = project->item(2);
    SlideText own = saved->text();
    own.font = QStringLiteral("Own");
    own.changed = true;
    saved->setText(own);
    const SlideText titleBefore = project->item(0)->text();

    m_page->setProject(project.get());
    m_page->setItem(first);
    setFont(QStringLiteral("DejaVu Sans"));
    emit d()->saveButton->clicked();
    QCOMPARE(m_questions, 0);
    QVERIFY(first->text().changed);
    QCOMPARE(saved->text().font, QStringLiteral("Own"));
    for (int i : {3, 4}) {
        QCOMPARE(project->item(i)->text().font, QStringLiteral("DejaVu Sans"));
        QCOMPARE(project->item(i)->text().text, QStringLiteral("s%1").arg(i));
        QVERIFY(!project->item(i)->text().changed);
    }
    QCOMPARE(project->item(0)->text().font, titleBefore.font);
    QCOMPARE(project->defaultText.font, QStringLiteral("DejaVu Sans"));
    QCOMPARE(project->defaultText.text, QString());
    QVERIFY(!project->defaultText.changed);

    m_page->setItem(project->item(3));
    setFont(QStringLiteral("Later"));
    emit d()->saveButton->clicked();
    QCOMPARE(first->text().font, QStringLiteral("DejaVu Sans"));
    QCOMPARE(project->item(4)->text().font, QStringLiteral("Later"));
}

void TestTextPage::allSlidesSaveAsksFirst()
{
    auto project = makeProject(2);
    m_page->setProject(project.get());
    QVERIFY(m_page->isEditingAllSlides());
    m_page->show();
    setFont(QStringLiteral("Refused"));
    m_answer = false;
    emit d()->saveButton->clicked();
    QCOMPARE(m_questions, 1);
    QVERIFY(m_page->isVisible());
    for (int i : {1, 2})
        QVERIFY(project->item(i)->text().font != QStringLiteral("Refused"));
    QVERIFY(project->defaultText.font != QStringLiteral("Refused"));
}

void TestTextPage::allSlidesSaveReplacesTextsByToggle_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("texts kept") << false;
    QTest::newRow("texts replaced") << true;
}

void TestTextPage::allSlidesSaveReplacesTextsByToggle()
{
    QFETCH(bool, replace);
    auto project = makeProject(3);
    SlideText own = project->item(2)->text();
    own.changed = true;
    project->item(2)->setText(own);
    const SlideText titleBefore = project->item(0)->text();
    m_page->setProject(project.get());
    QVERIFY(!d()->replaceText->isChecked());
    QVERIFY(!d()->textEditor->control()->isEnabled());
    d()->replaceText->setCheckedAndEmit(replace);
    QTRY_COMPARE(d()->textEditor->control()->isEnabled(), replace);
    d()->textEditor->control()->setPlainText(QStringLiteral("Для всех"));
    setFont(QStringLiteral("Everyone"));
    emit d()->saveButton->clicked();
    QCOMPARE(m_questions, 1);
    for (int i : {1, 2, 3}) {
        QCOMPARE(project->item(i)->text().font, QStringLiteral("Everyone"));
        QCOMPARE(project->item(i)->text().text, replace ? QStringLiteral("Для всех") : QStringLiteral("s%1").arg(i));
        QVERIFY(!project->item(i)->text().changed);
    }
    QCOMPARE(project->item(0)->text().font, titleBefore.font);
    QCOMPARE(project->item(0)->text().text, titleBefore.text);
}

void TestTextPage::escapeAfterTextOnlyEditSpreadsNothing()
{
    auto project = makeProject(2);
    m_page->setProject(project.get());
    m_page->setItem(project->item(1));
    m_page->show();
    d()->textEditor->control()->setPlainText(QStringLiteral("Новый"));
    QTest::keyClick(m_page.get(), Qt::Key_Escape);
    QTRY_VERIFY(m_page->isHidden());
    QCOMPARE(project->item(1)->text().text, QStringLiteral("Новый"));
    QVERIFY(!project->item(1)->text().changed);
    QCOMPARE(project->item(2)->text().text, QStringLiteral("s2"));

    // A style edit left by Escape is saved and spread.
    m_page->setItem(project->item(1));
    m_page->show();
    setFont(QStringLiteral("Escaped"));
    QTest::keyClick(m_page.get(), Qt::Key_Escape);
    QTRY_VERIFY(m_page->isHidden());
    QVERIFY(project->item(1)->text().changed);
    QCOMPARE(project->item(2)->text().font, QStringLiteral("Escaped"));
}

void TestTextPage::cancelRestoresTitleCaptionAndBackground()
{
    auto project = makeProject(1);
    auto* title = dynamic_cast<ProjectItemFirst*>(project->item(0));
    QVERIFY(title);
    title->setBgIndex(0);
    const SlideText before = title->text();
    m_page->setProject(project.get());
    m_page->setItem(title);
    QVERIFY(!d()->startBackground->isHidden());

    // A dark background switches the text colour to the one that suits it.
    m_pick.index = 5;
    emit d()->startBackground->control()->clicked();
    QCOMPARE(title->bgIndex(), 5);
    QCOMPARE(d()->textColor->control()->color(), QColor(backgroundTextColorName(5)));
    QCOMPARE(title->text().text_color, QColor(backgroundTextColorName(5)));
    QCOMPARE(d()->startBackground->control()->text(), QColor(backgroundColorName(5)).name());

    m_pickerResult = 0;
    m_pick.index = 9;
    emit d()->startBackground->control()->clicked();
    QCOMPARE(title->bgIndex(), 5);

    emit d()->cancelButton->clicked();
    QCOMPARE(title->bgIndex(), 0);
    QCOMPARE(title->text().text_color, before.text_color);
    QCOMPARE(title->text().text, before.text);
}

// A colour slide keeps its own background on cancel, even after the title slide was edited.
void TestTextPage::cancelKeepsColourSlideBackground()
{
    auto project = makeProject(0);
    ProjectItemColor* colour = ProjectFile::createColorItem(7, 1000, 0);
    project->insertItems({colour}, 1);
    auto* title = dynamic_cast<ProjectItemFirst*>(project->item(0));
    title->setBgIndex(3);
    m_page->setProject(project.get());
    m_page->setItem(title);
    emit d()->cancelButton->clicked();

    m_page->setItem(colour);
    QVERIFY(d()->startBackground->isHidden());
    d()->textEditor->control()->setPlainText(QStringLiteral("Цвет"));
    emit d()->cancelButton->clicked();
    QCOMPARE(colour->bgIndex(), 7);
    QCOMPARE(colour->text().text, QString());
    QCOMPARE(title->bgIndex(), 3);
}

void TestTextPage::previewFitsResolution_data()
{
    QTest::addColumn<QSize>("resolution");
    QTest::addColumn<QSize>("picture");
    QTest::newRow("square") << QSize(1000, 1000) << QSize(277, 277);
    QTest::newRow("wide") << QSize(4000, 1000) << QSize(460, 115);
    QTest::newRow("tall") << QSize(1080, 1920) << QSize(155, 277);
}

void TestTextPage::previewFitsResolution()
{
    QFETCH(QSize, resolution);
    QFETCH(QSize, picture);
    QTemporaryDir dir;
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(photo.save(path, "jpg"));
    auto project = makeProject(0);
    project->insertItems({new ProjectItemSimple(path, 1000, 0)}, 1);
    project->resolution = Resolution(resolution.width(), resolution.height());
    m_page->setProject(project.get());
    QSignalSpy previews(m_page.get(), &TextPage::previewChanged);
    d()->textEditor->control()->setPlainText(QStringLiteral("Все"));
    QCOMPARE(previews.count(), 0);
    m_page->setItem(project->item(1));
    d()->textEditor->control()->setPlainText(QStringLiteral("Один"));
    QCOMPARE(previews.count(), 1);
    QCOMPARE(previews.at(0).at(0).value<QImage>().size(), picture);
}

void TestTextPage::newAnimationPlaysForOneSlideOnly()
{
    auto project = makeProject(2);
    m_page->setProject(project.get());
    QSignalSpy plays(m_page.get(), &TextPage::transitionChanged);
    const QVector<int> ids = d()->animation->control()->ids();
    QVERIFY(ids.size() > 2);
    d()->animation->control()->setTransition(TransitionType(ids.at(1)));
    QCOMPARE(plays.count(), 0);
    QCOMPARE(m_page->item()->text().transition, ids.at(1));

    m_page->setItem(project->item(2));
    d()->animation->control()->setTransition(TransitionType(ids.at(2)));
    QCOMPARE(plays.count(), 1);
    QCOMPARE(plays.at(0).at(0).toInt(), 2);
    QCOMPARE(plays.at(0).at(1).toString(), project->itemNumberText(project->item(2)));
    QCOMPARE(plays.at(0).at(2).toBool(), true);
    QCOMPARE(project->item(2)->text().transition, ids.at(2));
}

void TestTextPage::projectDefaultCaptionStartsAllSlides()
{
    auto first = makeProject(1);
    first->defaultText.font = QStringLiteral("First");
    auto second = makeProject(1);
    second->defaultText.font = QStringLiteral("Second");
    m_page->setProject(first.get());
    QCOMPARE(d()->font->control()->family(), QStringLiteral("First"));
    m_page->setProject(second.get());
    QCOMPARE(d()->font->control()->family(), QStringLiteral("Second"));
    QCOMPARE(d()->backButton->text(), interfaceText(123));
    m_page->setItem(second->item(1));
    QCOMPARE(d()->backButton->text(), interfaceText(124).arg(second->itemNumberText(second->item(1))));
    m_page->setItem(second->item(0));
    QCOMPARE(d()->backButton->text(), interfaceText(122));
}

TY_UI_TEST_MAIN(TestTextPage)
#include "tst_textpage.moc"
