#include "pages/FontSizeSelector.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CButtonGroup.h"

#include <QBoxLayout>

namespace {

constexpr int kSmallestPixelSize = 9;
constexpr int kPixelStep = 3;

} // namespace

FontSizeSelector::FontSizeSelector(QWidget* parent)
    : QWidget(parent)
    , m_group(new CButtonGroup(1048, this))
{
    fontSizeTypeId();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    for (int step = TextInfo::Smallest; step <= TextInfo::Largest; ++step) {
        CButton* button = m_group->addNewButton(QVariant::fromValue(TextInfo::FontSize(step)));
        QFont font(QStringLiteral("Tahoma"));
        font.setWeight(QFont::Normal);
        font.setPixelSize(kSmallestPixelSize + kPixelStep * (step - TextInfo::Smallest));
        button->setFont(font);
        button->setText(QStringLiteral("aA"));
        row->addWidget(button);
    }
    row->addStretch();
    m_group->setCheckedValueSilently(QVariant::fromValue(TextInfo::Normal));
    connect(m_group, &CButtonGroup::toggled, this, [this](CButton* button, const QVariant& value) {
        if (button)
            emit fontSizeChanged(enumFromVariant<TextInfo::FontSize>(value));
    });
}

FontSizeSelector::~FontSizeSelector() = default;

TextInfo::FontSize FontSizeSelector::fontSize() const
{
    return enumFromVariant<TextInfo::FontSize>(m_group->checkedValue());
}

void FontSizeSelector::setFontSize(TextInfo::FontSize size)
{
    m_group->setCheckedValueSilently(QVariant::fromValue(size));
}
