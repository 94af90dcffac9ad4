#include "support/AppTestSupport.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/AboutDialog2.h"
#include "app/CApplicaiton.h"
#include "app/CSystemTools.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"

#include <QLayout>
#include <QRegularExpression>
#include <QSettings>

namespace {

// The label texts of a layout, in order, nested layouts included.
QStringList labelTexts(QLayout* layout)
{
    QStringList texts;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (auto* label = qobject_cast<CWidgetText*>(item->widget()))
            texts.append(label->text());
        else if (item->layout())
            texts += labelTexts(item->layout());
    }
    return texts;
}

CWidgetText* siteLink(AboutDialog2& dialog)
{
    for (auto* label : dialog.buttonPanel()->findChildren<CWidgetText*>()) {
        if (label->text().contains(QStringLiteral("Сайт программы")))
            return label;
    }
    return nullptr;
}

} // namespace

class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void textsAndComponentsInOrder();
    void licencesAtHalfAlpha();
    void titleShowsVersionInForce();
    void siteLinkOpensOrganisationDomain();
    void closeButtonEnds();
};

void TestAboutDialog::textsAndComponentsInOrder()
{
    AboutDialog2 dialog;
    const QStringList texts = labelTexts(dialog.contentPanel()->layout());
    const QStringList components{"Qt Toolkit, версия 5.15.2",  "OpenSSL, версия 1.1.1.17",
                                 "libcurl, версия 7.88.1",     "FFmpeg, версия 5.1.2",
                                 "OpenH264, версия 2.6.0",     "libogg, версия 1.3.6",
                                 "libvorbis, версия 1.3.7",    "libvpx, версия 1.16.0",
                                 "qt-heic-image-plugin, версия 0.7.1", "libheif, версия 1.23.1",
                                 "libde265, версия 1.1.1",     "openjpeg, версия 2.5.4"};
    QStringList expected{"Создавайте красочные слайд-шоу из фото с лёгкостью",
                         "•", "Добавляйте фотографии в слайд-шоу в один клик",
                         "•", "Настраивайте длительность слайдов и эффекты переходов",
                         "•", "Добавляйте фоновую музыку и текстовые надписи",
                         "•", "Применяйте визуальные эффекты к слайдам",
                         "•", "Сохраняйте слайд-шоу в популярных форматах",
                         "Программа включает компоненты сторонних разработчиков:"};
    QCOMPARE(texts.mid(0, expected.size()), expected);
    QCOMPARE(texts.size(), expected.size() + 2 * components.size());
    for (int i = 0; i < components.size(); ++i) {
        QCOMPARE(texts.at(expected.size() + 2 * i), QStringLiteral("•"));
        const QString row = texts.at(expected.size() + 2 * i + 1);
        QVERIFY2(row.startsWith(components.at(i) + QStringLiteral(" <span style='color:")), qPrintable(row));
        QVERIFY2(row.contains(QStringLiteral("лицензи")), qPrintable(row));
    }
    const QStringList lgpl3{"Qt Toolkit", "FFmpeg", "libheif", "libde265"};
    for (int i = 0; i < components.size(); ++i) {
        const QString row = texts.at(expected.size() + 2 * i + 1);
        const bool isLgpl3 = lgpl3.contains(components.at(i).section(QLatin1Char(','), 0, 0));
        QCOMPARE(row.contains(QStringLiteral("LGPLv3")), isLgpl3);
    }
}

void TestAboutDialog::licencesAtHalfAlpha()
{
    for (bool dark : {false, true}) {
        CStyle* style = CSystemTools::instance()->style();
        style->setCurrentStyle(dark ? registerDarkTestPalette()->name() : QStringLiteral("Cpalette"));
        AboutDialog2 dialog;
        const QStringList texts = labelTexts(dialog.contentPanel()->layout());
        const QRegularExpression span(QStringLiteral("<span style='color:(#[0-9a-f]{8});'>"));
        const QRegularExpressionMatch match = span.match(texts.last());
        QVERIFY2(match.hasMatch(), qPrintable(texts.last()));
        const QColor shown(match.captured(1));
        QVERIFY(qAbs(shown.alphaF() - 0.5) < 0.01);
        QCOMPARE(shown.rgb(), currentPalette()->secondaryTextColor().rgb());
        // Body text in the palette's text colour.
        auto* title = qobject_cast<CWidgetText*>(dialog.contentPanel()->layout()->itemAt(0)->widget());
        QCOMPARE(title->palette().color(title->foregroundRole()), currentPalette()->textColor());
        QCOMPARE(title->font().pixelSize(), 16);
        QCOMPARE(title->font().weight(), int(QFont::Bold));
    }
    CSystemTools::instance()->style()->setCurrentStyle(QStringLiteral("Cpalette"));
}

void TestAboutDialog::titleShowsVersionInForce()
{
    auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
    QCoreApplication::setOrganizationName(QStringLiteral("KestrovaSoft"));
    app->setProductName(QStringLiteral("About Test"));
    app->setVersion(QStringLiteral("1.1.3"));
    {
        AboutDialog2 dialog;
        QCOMPARE(dialog.titleBar()->titleLabel()->text(), interfaceText(81) + QStringLiteral(" 1.1.3"));
    }
    QSettings(QStringLiteral("KestrovaSoft"), QStringLiteral("About Test"))
        .setValue(QStringLiteral("CurrentVersion"), QStringLiteral("2.0.1"));
    app->setVersion(QStringLiteral("1.1.3"));
    AboutDialog2 dialog;
    QCOMPARE(dialog.titleBar()->titleLabel()->text(), interfaceText(81) + QStringLiteral(" 2.0.1"));
}

void TestAboutDialog::siteLinkOpensOrganisationDomain()
{
    QCoreApplication::setOrganizationDomain(QStringLiteral("kestrovasoft.com"));
    AboutDialog2 dialog;
    CWidgetText* link = siteLink(dialog);
    QVERIFY(link);
    QVERIFY2(link->text().contains(QStringLiteral("href='https://kestrovasoft.com'")), qPrintable(link->text()));
    UrlCatcher catcher;
    emit link->linkActivated(QStringLiteral("https://kestrovasoft.com"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://kestrovasoft.com"))});
}

void TestAboutDialog::closeButtonEnds()
{
    AboutDialog2 dialog;
    CButton* close = dialog.defaultButton();
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("Закрыть"));
    QTimer::singleShot(0, &dialog, [close] { emit close->clicked(); });
    NestedLoopWatchdog watchdog(10000);
    QCOMPARE(dialog.exec(), 1);
}

int main(int argc, char** argv)
{
    PrivateFolders folders;
    return runUiTest<TestAboutDialog>(argc, argv);
}

#include "tst_aboutdialog.moc"
