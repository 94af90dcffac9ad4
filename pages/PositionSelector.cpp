#include "pages/PositionSelector.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CButtonGroup.h"

#include <QGridLayout>

PositionSelector::PositionSelector(QWidget* parent)
    : QWidget(parent)
    , m_group(new CButtonGroup(1047, this))
{
    textPosTypeId();
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(8);
    for (int position = TextInfo::TopLeft; position <= TextInfo::BottomRight; ++position) {
        CButton* button = m_group->addNewButton(QVariant::fromValue(TextInfo::Pos(position)));
        grid->addWidget(button, position / 3, position % 3);
    }
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Expanding), 3, 3);
    m_group->setCheckedValueSilently(QVariant::fromValue(TextInfo::Center));
    connect(m_group, &CButtonGroup::toggled, this, [this](CButton* button, const QVariant& value) {
        if (button)
            emit positionChanged(enumFromVariant<TextInfo::Pos>(value));
    });
}

PositionSelector::~PositionSelector() = default;

TextInfo::Pos PositionSelector::position() const
{
    return enumFromVariant<TextInfo::Pos>(m_group->checkedValue());
}

void PositionSelector::setPositionSilently(TextInfo::Pos position)
{
    m_group->setCheckedValueSilently(QVariant::fromValue(position));
}
