// The application's palettes: every application button kind in its states, the text kinds,
// the floating panels with their shadows, the edits, slider and progress bar, every picture
// resource with its name, and the transition and motion lists. Each sheet is drawn under TyStyle
// (-dark) and under a light Style.

#include "Gallery.h"

#include "app/CSystemTools.h"
#include "pages/EffectNames.h"
#include "pages/Style.h"
#include "pages/TyStyle.h"
#include "resources/Resources.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CStyle.h"

#include <QDir>
#include <QGridLayout>
#include <QHash>

namespace {

// Style on its light look, under a name of its own so that the style holder tells it apart
// from the base palette.
class LightStyle : public Style
{
public:
    using Style::Style;
    QString name() const override { return QStringLiteral("LightStyle"); }
};

// A state of the sheet's columns.
struct ButtonState
{
    const char* name;
    bool hovered, pressed, checked, enabled;
};

const ButtonState States[] = {{"normal", false, false, false, true},
                              {"hover", true, false, false, true},
                              {"pressed", true, true, false, true},
                              {"checked", false, false, true, true},
                              {"disabled", false, false, false, false}};

QString iconOfKind(int kind)
{
    // Title-bar buttons 22 to 25 show palette icons 10 to 13, the clear button 26 icon 4.
    if (kind >= 22 && kind <= 26)
        return currentPalette()->titleBarIcon(kind == 26 ? 4 : kind - 12);
    static const QHash<int, const char*> icons{
        {1021, ":/preview.svg"}, {1022, ":/history.svg"},   {1023, ":/pause.svg"},      {1024, ":/stop.svg"},
        {1025, ":/add-photo.svg"}, {1026, ":/add-audio.svg"}, {1027, ":/settings.svg"},   {1028, ":/trash.svg"},
        {1029, ":/duplicate.svg"}, {1031, ":/nocolor.svg"},  {1039, ":/add-folder.svg"}, {1040, ":/rotate.svg"},
        {1041, ":/trash.svg"},     {1049, ":/play.svg"}};
    return QString::fromLatin1(icons.value(kind));
}

QString textOfKind(int kind)
{
    if (kind >= 22 && kind <= 26)
        return QString();
    switch (kind) {
    case 1028:
    case 1029:
    case 1031:
    case 1042:
    case 1043:
    case 1044:
    case 1049: return QString();
    case 1047: return QStringLiteral("Top");
    case 1048: return QStringLiteral("aA");
    default: break;
    }
    return kind >= 1034 && kind <= 1039 ? QStringLiteral("Link text") : QStringLiteral("Button");
}

// Kinds drawn in white over a picture get a dark backdrop.
bool overPicture(int kind)
{
    return kind == 1045 || kind == 1046 || kind == 1049;
}

void settle(CButton* button, const ButtonState& state)
{
    if (state.checked) {
        button->setCheckable(true);
        button->setChecked(true);
    }
    button->setEnabled(state.enabled);
    button->animation()->setHovered(state.hovered, false);
    button->animation()->setPressed(state.pressed, false);
}

QWidget* buttonCell(int kind, const ButtonState& state)
{
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(4, 4, 4, 4);
    if (overPicture(kind)) {
        cell->setAutoFillBackground(true);
        QPalette colours = cell->palette();
        colours.setColor(QPalette::Window, QColor(0x30, 0x46, 0x5A));
        cell->setPalette(colours);
    }
    auto* button = new CButton(kind, iconOfKind(kind), nullptr, true);
    button->setText(textOfKind(kind));
    // The swatch button's radius follows its width at styling time.
    if (kind == 1031)
        button->setFixedSize(28, 28);
    button->applyStyle();
    // Rows of lists: their content is drawn by child widgets.
    if (kind >= 1042 && kind <= 1044)
        button->setMinimumSize(140, 36);
    settle(button, state);
    layout->addWidget(button);
    return cell;
}

QImage renderSheet(QWidget& sheet)
{
    // adjustSize() would keep a window within two thirds of the screen.
    sheet.resize(sheet.sizeHint());
    return renderWidget(&sheet, 1.0, currentPalette()->color(2));
}

CWidgetText* caption(const QString& text, int kind = 1058)
{
    auto* label = new CWidgetText(kind);
    label->setText(text);
    return label;
}

void addButtonSheet(GalleryPage& page, const QList<int>& kinds)
{
    for (bool dark : {true, false}) {
        useAppStyle(dark);
        QWidget sheet;
        auto* grid = new QGridLayout(&sheet);
        grid->setSpacing(2);
        for (int state = 0; state < 5; ++state)
            grid->addWidget(caption(QString::fromLatin1(States[state].name)), 0, state + 1);
        int row = 1;
        for (int kind : kinds) {
            grid->addWidget(caption(QString::number(kind)), row, 0);
            for (int state = 0; state < 5; ++state)
                grid->addWidget(buttonCell(kind, States[state]), row, state + 1);
            ++row;
        }
        page.add(renderSheet(sheet), QString(), dark);
    }
}

QList<int> kindRange(int first, int last)
{
    QList<int> kinds;
    for (int kind = first; kind <= last; ++kind)
        kinds.append(kind);
    return kinds;
}

// The colour an icon is shown in: pictures keep their own, the no-colour mark is tinted as its
// swatch shows it, the others take the text colour.
QColor iconColor(const QString& path)
{
    if (path.endsWith(QLatin1String(".png")) || path == QLatin1String(":/splash.svg"))
        return QColor();
    if (path == QLatin1String(":/nocolor.svg"))
        return QColor(0xFF8E87);
    return currentPalette()->textColor();
}

// An icon beside its name.
QWidget* namedIcon(const QString& path, const QString& name)
{
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* icon = new CWidgetIcon(cell);
    icon->setIconName(path);
    icon->setIconSize(QSize(24, 24));
    icon->setIconColor(iconColor(path));
    layout->addWidget(icon);
    auto* label = new CWidgetText(1060);
    label->setText(name);
    layout->addWidget(label, 1);
    return cell;
}

} // namespace

void useAppStyle(bool dark)
{
    CStyle* style = CSystemTools::instance()->style();
    static bool registered = false;
    if (!registered) {
        initSlideshowResources();
        style->registerPalette(new TyStyle(style));
        style->registerPalette(new LightStyle(style));
        registered = true;
    }
    style->setCurrentStyle(dark ? QStringLiteral("TyStyle") : QStringLiteral("LightStyle"));
}

TY_GALLERY_ENTRY("appstyle-buttons-library")
{
    addButtonSheet(page, kindRange(11, 26));
}

TY_GALLERY_ENTRY("appstyle-buttons-main")
{
    addButtonSheet(page, kindRange(1002, 1020));
}

TY_GALLERY_ENTRY("appstyle-buttons-small")
{
    addButtonSheet(page, kindRange(1021, 1033));
}

TY_GALLERY_ENTRY("appstyle-buttons-links")
{
    addButtonSheet(page, kindRange(1034, 1051));
}

TY_GALLERY_ENTRY("appstyle-texts")
{
    QList<int> kinds{9};
    kinds += kindRange(1057, 1071);
    for (bool dark : {true, false}) {
        useAppStyle(dark);
        QWidget sheet;
        auto* grid = new QGridLayout(&sheet);
        int row = 0;
        for (int kind : kinds) {
            grid->addWidget(caption(QString::number(kind)), row, 0);
            grid->addWidget(caption(QStringLiteral("Слайд-шоу из фотографий"), kind), row, 1);
            ++row;
        }
        page.add(renderSheet(sheet), QString(), dark);
    }
}

TY_GALLERY_ENTRY("appstyle-panels")
{
    for (bool dark : {true, false}) {
        useAppStyle(dark);
        QWidget sheet;
        sheet.resize(5 * 150 + 30, 170);
        for (int i = 0; i < 5; ++i) {
            const int kind = 1052 + i;
            auto* panel = new CPanel(kind, &sheet);
            panel->setBorderWidths(QMargins(1, 1, 1, 1));
            const int r = currentPalette()->metric(23);
            panel->setRadius({r, r, r, r});
            panel->setGeometry(30 + i * 150, 30, 120, 110);
            auto* label = new CWidgetText(1060, panel);
            label->setText(QString::number(kind));
            label->setGeometry(12, 10, 90, 20);
        }
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
    }
}

TY_GALLERY_ENTRY("appstyle-edits")
{
    for (bool dark : {true, false}) {
        useAppStyle(dark);
        QWidget sheet;
        auto* grid = new QGridLayout(&sheet);
        grid->setColumnMinimumWidth(1, 260);
        auto* search = new CLinEdit(1073);
        search->setPlaceholderText(QStringLiteral("Search"));
        auto* searched = new CLinEdit(1073);
        searched->setText(QStringLiteral("Tahoma"));
        auto* tall = new CLinEdit(1074);
        tall->setText(QStringLiteral("Slide show"));
        auto* slider = new CSlider(1075, Qt::Horizontal);
        slider->setRange(0, 100);
        slider->setValue(35);
        auto* running = new CProgressBar(38);
        running->setRange(0, 100);
        running->setValue(42);
        auto* disabled = new CProgressBar(38);
        disabled->setRange(0, 100);
        disabled->setValue(42);
        disabled->setEnabled(false);
        const QList<QPair<QString, QWidget*>> rows{{QStringLiteral("1073"), search},
                                                   {QStringLiteral("1073 with text"), searched},
                                                   {QStringLiteral("1074"), tall},
                                                   {QStringLiteral("1075"), slider},
                                                   {QStringLiteral("38 running"), running},
                                                   {QStringLiteral("38 disabled"), disabled}};
        for (int row = 0; row < rows.size(); ++row) {
            grid->addWidget(caption(rows.at(row).first), row, 0);
            grid->addWidget(rows.at(row).second, row, 1);
        }
        page.add(renderSheet(sheet), QString(), dark);
    }
}

TY_GALLERY_ENTRY("appstyle-icons")
{
    useAppStyle(true);
    initSlideshowResources();
    const QStringList names = QDir(QStringLiteral(":/")).entryList({QStringLiteral("*.svg"), QStringLiteral("*.png")},
                                                            QDir::Files, QDir::Name);
    QWidget sheet;
    auto* grid = new QGridLayout(&sheet);
    const int columns = 4;
    for (int i = 0; i < names.size(); ++i)
        grid->addWidget(namedIcon(QStringLiteral(":/") + names.at(i), names.at(i)), i / columns, i % columns);
    page.add(renderSheet(sheet), QString(), true);
}

TY_GALLERY_ENTRY("appstyle-effects")
{
    useAppStyle(true);
    QWidget sheet;
    auto* grid = new QGridLayout(&sheet);
    for (int type = 0; transitionIcon(type) != QString(); ++type)
        grid->addWidget(namedIcon(transitionIcon(type), transitionName(type)), type, 0);
    for (int type = 0; motionIcon(type) != QString(); ++type)
        grid->addWidget(namedIcon(motionIcon(type), motionName(type)), type, 1);
    page.add(renderSheet(sheet), QString(), true);
}
