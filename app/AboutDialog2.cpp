#include "app/AboutDialog2.h"

#include "app/CSystemTools.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/LibUtils.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int kTitleText = 81;

struct Component
{
    const char* name;
    const char* licence;
};

const QList<const char*> kFeatures = {
    "Добавляйте фотографии в слайд-шоу в один клик",
    "Настраивайте длительность слайдов и эффекты переходов",
    "Добавляйте фоновую музыку и текстовые надписи",
    "Применяйте визуальные эффекты к слайдам",
    "Сохраняйте слайд-шоу в популярных форматах",
};

const QList<Component> kComponents = {
    {"Qt Toolkit, версия 5.15.2", "(лицензия LGPLv3)"},
    {"OpenSSL, версия 1.1.1.17", "(лицензии OpenSSL и SSLeay)"},
    {"libcurl, версия 7.88.1", "(лицензия curl)"},
    {"FFmpeg, версия 5.1.2", "(лицензия LGPLv3)"},
    {"OpenH264, версия 2.6.0", "(лицензия BSD-2-Clause)"},
    {"libogg, версия 1.3.6", "(лицензия BSD-3-Clause)"},
    {"libvorbis, версия 1.3.7", "(лицензия BSD-3-Clause)"},
    {"libvpx, версия 1.16.0", "(лицензия BSD-3-Clause)"},
    {"qt-heic-image-plugin, версия 0.7.1", "(лицензия LGPLv2.1)"},
    {"libheif, версия 1.23.1", "(лицензия LGPLv3)"},
    {"libde265, версия 1.1.1", "(лицензия LGPLv3)"},
    {"openjpeg, версия 2.5.4", "(лицензия BSD-2-Clause)"},
};

void styleCloseButton(CButton* button, bool dark)
{
    const QColor hover = dark ? QColor(255, 255, 255, 60) : QColor(0, 0, 0, 24);
    const QColor pressed = dark ? QColor(255, 255, 255, 30) : QColor(0, 0, 0, 46);
    ColorSet colors = button->backgroundColors();
    colors.hovered = mixColors(colors.normal, hover);
    colors.pressed = mixColors(colors.normal, pressed);
    button->setBackgroundColors(colors);
}

} // namespace

CWidgetText* makeAboutLabel(int pixelSize, int weight, const QColor& color, const QString& text)
{
    auto* label = new CWidgetText;
    applyFontToWidget(label, pixelSize, weight, QStringLiteral("Tahoma"));
    setWidgetTextColor(label, color);
    label->setWordWrap(true);
    label->setText(text);
    return label;
}

QHBoxLayout* makeBulletRow(int pixelSize, int weight, const QColor& color, const QString& text,
                           const QColor& secondaryColor, const QString& secondaryText)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(makeAboutLabel(pixelSize, weight, color, QStringLiteral("•")), 0, Qt::AlignLeft | Qt::AlignTop);
    QString shown = text;
    if (!secondaryText.isEmpty())
        shown += QStringLiteral(" <span style='color:%1;'>%2</span>").arg(secondaryColor.name(QColor::HexArgb), secondaryText);
    row->addWidget(makeAboutLabel(pixelSize, weight, color, shown), 1);
    return row;
}

AboutDialog2::AboutDialog2(QWidget* parent)
    : CDialog(parent, CWindow::Default, false)
{
    Cpalette* palette = currentPalette();
    const QColor primary = palette->textColor();
    const QColor secondary = colorWithAlpha(palette->secondaryTextColor(), 0.5);
    setTitle(interfaceText(kTitleText) + QLatin1Char(' ') + QCoreApplication::applicationVersion());

    auto* body = new QVBoxLayout(contentPanel());
    body->setContentsMargins(24, 0, 24, 16);
    body->setSpacing(0);
    body->addWidget(makeAboutLabel(16, QFont::Bold, primary,
                                   QStringLiteral("Создавайте красочные слайд-шоу из фото с лёгкостью")));
    body->addSpacing(8);
    for (const char* feature : kFeatures) {
        body->addLayout(makeBulletRow(13, QFont::Normal, primary, QString::fromUtf8(feature)));
        body->addSpacing(4);
    }
    body->addSpacing(16);
    body->addWidget(makeAboutLabel(13, QFont::Normal, primary,
                                   QStringLiteral("Программа включает компоненты сторонних разработчиков:")));
    body->addSpacing(8);
    for (const Component& component : kComponents) {
        body->addLayout(makeBulletRow(13, QFont::Normal, primary, QString::fromUtf8(component.name), secondary,
                                      QString::fromUtf8(component.licence)));
        body->addSpacing(8);
    }

    QBoxLayout* buttons = buttonLayout();
    buttons->setContentsMargins(24, 0, 24, 24);
    buttons->setSpacing(0);
    const QString site = QStringLiteral("https://") + QCoreApplication::organizationDomain();
    CWidgetText* link = makeAboutLabel(13, QFont::Normal, primary,
                                       CSystemTools::linkHtml(site, QStringLiteral("Сайт программы"), 0));
    link->setWordWrap(false);
    connect(link, &QLabel::linkActivated, this, [](const QString& url) {
        if (CSystemTools* tools = CSystemTools::instance())
            tools->openLink(url);
    });
    buttons->insertWidget(0, link);
    auto* close = new CButton(21);
    close->setText(QStringLiteral("Закрыть"));
    styleCloseButton(close, palette->isDark());
    addButton(1, close, true);
}

AboutDialog2::~AboutDialog2() = default;
