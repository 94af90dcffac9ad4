// Panels, buttons of every kind in their states, a button group with its indicator, and the
// text and icon labels.

#include "Gallery.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWidgetTextIcon.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CStyle.h"

#include <QGridLayout>
#include <QLabel>

namespace {

const char* const ButtonStates[] = {"normal", "hover", "pressed", "checked", "disabled"};

// Title-bar and clear buttons show an icon; check, radio and toggle buttons bring their own.
QString iconOfKind(int kind)
{
    switch (kind) {
    case 22: return currentPalette()->titleBarIcon(10);
    case 23: return currentPalette()->titleBarIcon(11);
    case 24: return currentPalette()->titleBarIcon(12);
    case 25: return currentPalette()->titleBarIcon(13);
    case 26: return currentPalette()->titleBarIcon(4);
    default: return QString();
    }
}

void settle(CButton* button, int look)
{
    if (look == 3) {
        button->setCheckable(true);
        button->setChecked(true);
    }
    if (look == 4)
        button->setEnabled(false);
    button->animation()->setHovered(look == 1 || look == 2, false);
    button->animation()->setPressed(look == 2, false);
}

QImage render(QWidget& widget)
{
    widget.adjustSize();
    return renderWidget(&widget, 1.0, currentPalette()->color(2));
}

} // namespace

TY_GALLERY_ENTRY("controls-panel")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        sheet.resize(220, 120);
        CPanel panel(&sheet);
        panel.setGeometry(20, 20, 180, 80);
        panel.setBackgroundColors(ColorSet(currentPalette()->colorSet(4).normal));
        panel.setBorderColors(ColorSet(currentPalette()->colorSet(5).normal));
        panel.setBorderWidths(QMargins(1, 1, 1, 1));
        panel.setRadius({8, 8, 8, 8});
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
    }
}

TY_GALLERY_ENTRY("controls-button-kinds")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        auto* grid = new QGridLayout(&sheet);
        for (int look = 0; look < 5; ++look)
            grid->addWidget(new QLabel(QString::fromLatin1(ButtonStates[look])), 0, look + 1);
        for (int kind = 11; kind <= 28; ++kind) {
            // 27 is a label kind: a button of it keeps its own look.
            if (kind == 27)
                continue;
            grid->addWidget(new QLabel(QString::number(kind)), kind - 10, 0);
            for (int look = 0; look < 5; ++look) {
                auto* button = new CButton(kind, iconOfKind(kind));
                if (iconOfKind(kind).isEmpty())
                    button->setText(QStringLiteral("Button"));
                settle(button, look);
                grid->addWidget(button, kind - 10, look + 1);
            }
        }
        page.add(render(sheet), QString(), dark);
    }
}

TY_GALLERY_ENTRY("controls-button-group")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        sheet.resize(380, 60);
        CButtonGroup group(19, nullptr);
        const QStringList names{QStringLiteral("Photos"), QStringLiteral("Music"), QStringLiteral("Text")};
        for (int i = 0; i < names.size(); ++i) {
            CButton* button = group.addNewButton(i);
            button->setParent(&sheet);
            button->setText(names.at(i));
            button->setGeometry(10 + i * 120, 8, 110, 36);
        }
        auto* indicator = new QWidget(&sheet);
        indicator->setAutoFillBackground(true);
        QPalette colours = indicator->palette();
        colours.setColor(QPalette::Window, currentPalette()->color(0).isValid() ? currentPalette()->color(0)
                                                                                 : QColor(0x3D7EDB));
        indicator->setPalette(colours);
        indicator->setGeometry(10, 48, 10, 3);
        group.setCheckedValueSilently(1);
        group.setSelectionIndicator(indicator);
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
    }
}

TY_GALLERY_ENTRY("controls-labels")
{
    const QString caption = QStringLiteral("A caption that is too long for its label");
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        sheet.resize(260, 190);
        auto* elided = new CWidgetText(8, &sheet);
        elided->setText(caption);
        elided->setGeometry(10, 10, 150, 20);
        auto* wrapped = new CWidgetText(9, &sheet);
        wrapped->setWrapAnywhere(true);
        wrapped->setText(QString(60, QLatin1Char('w')));
        wrapped->setGeometry(10, 36, 150, wrapped->heightForWidth(150));
        auto* disabled = new CWidgetText(&sheet);
        disabled->setText(QStringLiteral("Disabled label"));
        disabled->setEnabled(false);
        disabled->setGeometry(10, 36 + wrapped->height() + 6, 150, 20);
        auto* textIcon = new CWidgetTextIcon(12, currentPalette()->titleBarIcon(11), &sheet);
        textIcon->setText(QStringLiteral("Text and icon"));
        textIcon->setGeometry(QRect(QPoint(10, disabled->geometry().bottom() + 8), textIcon->sizeHint()));
        const char* const iconName = ":/uilib/titlebar-close.svg";
        for (int look = 0; look < 3; ++look) {
            auto* icon = new CWidgetIcon(iconName, &sheet);
            icon->setIconSize(QSize(24, 24));
            icon->setIconColor(currentPalette()->textColor());
            icon->setEnabled(look != 1);
            if (look == 2) {
                icon->setCornerRadius(6);
                icon->setIconColor(QColor(0x3D7EDB));
                icon->setIconSize(QSize(40, 40));
            }
            icon->setGeometry(QRect(QPoint(170, 10 + look * 50), icon->sizeHint()));
        }
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
    }
}
