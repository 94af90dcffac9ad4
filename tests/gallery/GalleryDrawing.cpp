// Panel and button drawings, the animated check icons and the spin-box arrows.

#include "Gallery.h"

#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CSpinBoxDraw.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/LibUtils.h"

#include <QPainter>
#include <QSpinBox>
#include <QStyleOption>

#include <memory>

namespace {

const char* const States[] = {"normal", "hover", "pressed", "checked", "disabled"};
constexpr int StateCount = 5;
constexpr int LabelWidth = 40;

QFont galleryFont()
{
    return makeFont(13, QFont::Normal, QStringLiteral("DejaVu Sans"));
}

// A state object settled in one of the five looks.
std::unique_ptr<CAnimationWidget> makeState(int look)
{
    auto state = std::make_unique<CAnimationWidget>(0, nullptr);
    state->setHovered(look == 1 || look == 2, false);
    state->setPressed(look == 2, false);
    state->setChecked(look == 3, false);
    state->setDisabled(look == 4, false);
    return state;
}

// Paints on a sheet of the palette's window colour, with a painter scope over the whole sheet.
QImage sheet(const QSize& size, double ratio, const std::function<void(QPainter*, CPainterScope&)>& paint)
{
    return paintAtRatio(size, ratio, [&](QPainter* painter) {
        painter->fillRect(QRect(QPoint(), size), currentPalette()->color(2));
        QStyleOption option;
        option.rect = QRect(QPoint(), size);
        CPainterScope scope(painter, &option);
        paint(painter, scope);
    });
}

void drawLabel(QPainter* painter, const QRect& rect, const QString& text)
{
    painter->save();
    painter->setFont(makeFont(11, QFont::Normal, QStringLiteral("DejaVu Sans")));
    painter->setPen(currentPalette()->textColor());
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter->restore();
}

QImage panelSheet(double ratio)
{
    struct Sample
    {
        QMargins widths;
        CPanelDraw::Radii radius;
        QVector<qreal> dash;
        bool inset;
    };
    const Sample samples[] = {
        {QMargins(1, 1, 1, 1), {0, 0, 0, 0}, {}, false}, {QMargins(2, 2, 2, 2), {6, 6, 6, 6}, {}, false},
        {QMargins(1, 1, 1, 1), {0, 0, 8, 8}, {}, false}, {QMargins(1, 0, 3, 2), {0, 0, 0, 0}, {}, false},
        {QMargins(1, 1, 1, 1), {4, 4, 4, 4}, {3, 2}, false}, {QMargins(3, 3, 3, 3), {10, 10, 10, 10}, {}, true},
        {QMargins(0, 0, 0, 0), {6, 6, 6, 6}, {}, false},
    };
    const int count = int(std::size(samples));
    return sheet(QSize(count * 70 + 10, 60), ratio, [&](QPainter*, CPainterScope& scope) {
        CAnimationWidget state(0, nullptr);
        for (int i = 0; i < count; ++i) {
            CPanelDraw panel(nullptr);
            panel.setRect(QRect(10 + i * 70, 10, 60, 40));
            panel.setBackgroundColors(ColorSet(QColor(0xE2E2E2)));
            panel.setBorderColors(ColorSet(QColor(0x458BCF)));
            panel.setBorderWidths(samples[i].widths);
            panel.setRadius(samples[i].radius);
            panel.setBorderDash(0, samples[i].dash);
            panel.setInsetFill(samples[i].inset);
            panel.paint(scope, state);
        }
    });
}

QString iconFor(int kind)
{
    switch (kind) {
    case 12:
    case 26: return QStringLiteral(":/uilib/close-10.svg");
    case 22: return QStringLiteral(":/uilib/titlebar-minimize.svg");
    case 23: return QStringLiteral(":/uilib/titlebar-maximize.svg");
    case 24: return QStringLiteral(":/uilib/titlebar-restore.svg");
    case 25: return QStringLiteral(":/uilib/titlebar-close.svg");
    default: return QString();
    }
}

void setUpButton(CButtonDraw& button, int kind)
{
    button.setFont(galleryFont());
    button.setSecondaryFont(galleryFont());
    currentPalette()->styleButton(&button, kind, iconFor(kind));
    if (kind >= 22 && kind <= 25)
        return;
    button.setText(kind == 12 || kind == 26 ? QString() : QStringLiteral("Button"));
    if (kind == 16 || kind == 17 || kind == 19)
        button.setSecondaryText(QStringLiteral("Ctrl+S"));
    if (kind == 18)
        button.setSecondaryText(QStringLiteral("more"));
}

// Rows of button kinds, one column per look.
QImage buttonSheet(const QList<int>& kinds, double ratio)
{
    const QSize cell(150, 44);
    const QSize size(LabelWidth + StateCount * cell.width(), 24 + kinds.size() * cell.height());
    return sheet(size, ratio, [&](QPainter* painter, CPainterScope& scope) {
        for (int look = 0; look < StateCount; ++look)
            drawLabel(painter, QRect(LabelWidth + look * cell.width() + 4, 0, cell.width(), 22), States[look]);
        for (int row = 0; row < kinds.size(); ++row) {
            const int kind = kinds[row];
            const int y = 24 + row * cell.height();
            drawLabel(painter, QRect(4, y, LabelWidth, cell.height()), QString::number(kind));
            for (int look = 0; look < StateCount; ++look) {
                CButtonDraw button(nullptr);
                setUpButton(button, kind);
                const bool titleBar = kind >= 22 && kind <= 25;
                const QSize buttonSize = titleBar ? QSize(48, 32) : cell - QSize(10, 8);
                button.setRect(QRect(QPoint(LabelWidth + look * cell.width() + 4, y + 4), buttonSize));
                const std::unique_ptr<CAnimationWidget> state = makeState(look);
                button.CPanelDraw::paint(scope, *state);
                button.paint(scope, *state);
            }
        }
    });
}

QImage animatedIconSheet(double ratio)
{
    const char* const names[] = {"CheckBoxIcon1", "RadioIcon1", "ToggleIcon1"};
    const double progress[] = {0.0, 0.5, 1.0};
    const QSize cell(44, 30);
    const QSize size(LabelWidth + 6 * cell.width(), 3 * cell.height());
    return sheet(size, ratio, [&](QPainter* painter, CPainterScope&) {
        for (int row = 0; row < 3; ++row) {
            CIcon* icon = CIconRepo::instance()->iconFromUtf8(names[row]);
            drawLabel(painter, QRect(4, row * cell.height(), LabelWidth, cell.height()), QString::number(row + 13));
            // p = 0, 0.5 and 1 checking, then hovered, disabled checked and disabled unchecked.
            for (int column = 0; column < 6; ++column) {
                CAnimationWidget state(0, nullptr);
                if (column < 3 || column == 4) {
                    state.setChecked(true, false);
                    state.setCheckedProgress(column < 3 ? progress[column] : 1.0);
                }
                state.setHovered(column == 3, false);
                state.setDisabled(column >= 4, false);
                const QPixmap picture = icon->paint(ratio, QSize(), QColor(), state);
                const QRect area(LabelWidth + column * cell.width(), row * cell.height(), cell.width(), cell.height());
                QRect target(QPoint(), icon->defaultSize());
                target.moveCenter(area.center());
                painter->drawPixmap(target.topLeft(), picture);
            }
        }
    });
}

// A spin box drawn by the library; `hoverUp` shows the pointer over its upper button.
class GallerySpin : public QSpinBox, public CSpinBoxDraw
{
public:
    explicit GallerySpin(bool hoverUp)
        : CSpinBoxDraw(this), m_hoverUp(hoverUp)
    {
        setFont(galleryFont());
        setRange(0, 10);
        QWidget::resize(110, 28);
        restyle();
    }
    void restyle() { currentPalette()->styleSpinBox(this, 36); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        CPainterScope scope(this);
        setRect(QWidget::rect());
        m_state.setDisabled(!isEnabled(), false);
        CPanelDraw::paint(scope, m_state);
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        if (m_hoverUp) {
            option.state |= QStyle::State_MouseOver;
            option.activeSubControls = QStyle::SC_SpinBoxUp;
        }
        paintButtons(scope, &option);
    }

private:
    bool m_hoverUp;
    CAnimationWidget m_state{0, nullptr};
};

void addSpinShots(GalleryPage& page, bool dark)
{
    struct Shot
    {
        const char* name;
        int value;
        bool hoverUp;
        bool enabled;
    };
    const Shot shots[] = {{"normal", 5, false, true}, {"hover-up", 5, true, true},
                          {"at-maximum", 10, true, true}, {"at-minimum", 0, false, true},
                          {"disabled", 5, false, false}};
    for (const Shot& shot : shots) {
        GallerySpin spin(shot.hoverUp);
        spin.setValue(shot.value);
        spin.setEnabled(shot.enabled);
        for (double ratio : {1.0, 2.0})
            page.add(renderWidget(&spin, ratio, currentPalette()->color(2)), QString::fromLatin1(shot.name), dark, ratio);
    }
}

const QList<int> ButtonKinds = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28};

} // namespace

TY_GALLERY_ENTRY("panels")
{
    for (double ratio : {1.0, 1.5, 2.0})
        page.add(panelSheet(ratio), QString(), false, ratio);
}

TY_GALLERY_ENTRY("button-drawings")
{
    page.add(buttonSheet(ButtonKinds, 1.0));
    page.add(buttonSheet(ButtonKinds, 1.5), QString(), false, 1.5);
    page.usePalette(true);
    page.add(buttonSheet(ButtonKinds, 1.0), QString(), true);
}

TY_GALLERY_ENTRY("check-icons")
{
    for (double ratio : {1.0, 2.0})
        page.add(animatedIconSheet(ratio), QString(), false, ratio);
    page.usePalette(true);
    page.add(animatedIconSheet(2.0), QString(), true, 2.0);
}

TY_GALLERY_ENTRY("spinbox-drawing")
{
    addSpinShots(page, false);
    page.usePalette(true);
    addSpinShots(page, true);
}
