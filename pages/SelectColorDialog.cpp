#include "pages/SelectColorDialog.h"

#include "model/SlideBackground.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CPanel.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CCustomLayout.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CPainterScope.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kDialogKind = 1;
constexpr int kSwatchKind = 1031;
constexpr int kBackgroundCount = 30;
constexpr int kPlainBackgroundCount = 18;
constexpr int kSwatchesPerRow = 9;
const QMargins kSwatchMargins(29, 0, 29, 29);
constexpr int kSwatchSpacing = 2;

QList<QColor> swatchColors(int mode)
{
    QList<QColor> colors;
    if (mode == 2)
        colors.append(QColor(Qt::transparent));
    if (mode == 1 || mode == 2) {
        for (int i = 0; i < kPlainBackgroundCount; ++i)
            colors.append(QColor(backgroundColorName(i)));
    }
    if (mode == 1) {
        for (int i = 0; i < kBackgroundCount; ++i) {
            const QColor text(backgroundTextColorName(i));
            if (!colors.contains(text))
                colors.append(text);
        }
    }
    return colors;
}

bool sameRatio(double a, double b)
{
    return std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}

} // namespace

SelectColorDialog::SelectColorDialog(int mode, QWidget* parent)
    : CDialog(kDialogKind, 0, parent, CWindow::Default)
    , m_group(new CButtonGroup(-1, this))
    , m_layout(new CCustomLayout(contentPanel(), kSwatchMargins, kSwatchSpacing, kSwatchSpacing))
{
    buttonPanel()->hide();
    const auto addSwatch = [this, mode](const QVariant& value) {
        auto* swatch = new ColorButton(mode, kSwatchKind, QStringLiteral(":/empty-50.svg"), this);
        if (mode == 0)
            swatch->setBackgroundIndex(value.toInt());
        else
            swatch->setColor(value.value<QColor>());
        m_layout->addWidget(swatch);
        m_group->addButton(swatch, value);
        return swatch;
    };
    if (mode == 0) {
        for (int i = 0; i < kBackgroundCount; ++i)
            addSwatch(i);
    }
    for (const QColor& color : swatchColors(mode))
        addSwatch(color);
    connect(m_group, &CButtonGroup::toggled, this, [this](CButton* button) {
        if (button)
            done(1);
    });
    // Nine swatches to a row; without swatches the margins alone.
    const QList<CButton*> swatches = m_group->buttons();
    const int margins = kSwatchMargins.left() + kSwatchMargins.right();
    if (swatches.isEmpty())
        contentWidget()->setFixedWidth(margins);
    else
        contentWidget()->setFixedWidth((swatches.first()->sizeHint().width() + kSwatchSpacing) * kSwatchesPerRow
                                       + margins - 1);
    updateTexts();
}

SelectColorDialog::~SelectColorDialog() = default;

void SelectColorDialog::updateTexts()
{
    CDialog::updateTexts();
    setTitle(interfaceText(174));
}

QColor SelectColorDialog::selectedColor() const
{
    return m_group->checkedValue().value<QColor>();
}

int SelectColorDialog::selectedColorIndex() const
{
    const QVariant value = m_group->checkedValue();
    bool ok = false;
    const int index = value.toInt(&ok);
    return ok ? index : -1;
}

void SelectColorDialog::setSelectedColor(const QColor& color)
{
    m_group->setCheckedValueSilently(QVariant(color.isValid() ? color : QColor(Qt::transparent)));
}

void SelectColorDialog::setSelectedColorIndex(int index)
{
    m_group->setCheckedValueSilently(index);
}

SelectColorDialog::ColorButton::ColorButton(int mode, int styleKind, const QString& iconName, QWidget* parent)
    : CButton(styleKind, iconName, parent)
    , m_mode(mode)
{
}

SelectColorDialog::ColorButton::~ColorButton() = default;

void SelectColorDialog::ColorButton::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void SelectColorDialog::ColorButton::setBackgroundIndex(int index)
{
    if (index == m_backgroundIndex)
        return;
    m_backgroundIndex = index;
    m_picture = QPixmap();
    update();
}

bool SelectColorDialog::ColorButton::hasRing() const
{
    if (m_mode == 0)
        return m_backgroundIndex == 0;
    if (m_mode != 1 && m_mode != 2)
        return false;
    const bool empty = !m_color.isValid() || m_color.alpha() == 0;
    return empty || m_color == QColor(Qt::white);
}

void SelectColorDialog::ColorButton::drawPicture(QPainter* painter, const QRect& area, double ratio)
{
    if (m_picture.isNull() || !sameRatio(m_picture.devicePixelRatioF(), ratio)) {
        const QSize size(int(std::round(area.width() * ratio)), int(std::round(area.height() * ratio)));
        m_picture = QPixmap::fromImage(backgroundImage(m_backgroundIndex, size));
        m_picture.setDevicePixelRatio(ratio);
    }
    painter->drawPixmap(area, m_picture);
}

void SelectColorDialog::ColorButton::drawButton(CPainterScope& scope)
{
    CButton::drawButton(scope);
    const QRect area = iconRect();
    if (area.isEmpty() || (m_mode < 0 || m_mode > 2))
        return;
    QPainter* painter = scope.painter();
    // The ratio painted at, also when the widget is rendered into a picture of another ratio.
    const QTransform transform = painter->deviceTransform();
    const double ratio = std::hypot(transform.m11(), transform.m12());
    const double r = std::round(area.width() / 2.0);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addRoundedRect(area, r, r);
    painter->setClipPath(circle);
    const bool empty = !m_color.isValid() || m_color.alpha() == 0;
    if (m_mode == 0)
        drawPicture(painter, area, ratio);
    else if (!empty)
        painter->fillRect(area, m_color);
    if (hasRing()) {
        // One device pixel at every ratio.
        const double width = 1.0 / ratio;
        painter->setPen(QPen(Qt::gray, width, Qt::SolidLine));
        painter->setBrush(Qt::NoBrush);
        const double half = width / 2;
        painter->drawRoundedRect(QRectF(area).adjusted(half, half, -half, -half), r, r);
        if (m_mode != 0 && empty) {
            CIconRepo::instance()->icon(QStringLiteral(":/nocolor.svg"))
                ->paintAligned(painter, area, Qt::AlignCenter, area.size(), QColor(0xFF8E87), CIcon::Normal);
        }
    }
    painter->restore();
}
