#include "pages/EffectSelectors.h"

#include "pages/EffectNames.h"
#include "uilib/controls/CWindowMenu.h"


namespace {

constexpr int kRandom = 1;
constexpr int kRandomItemKind = 1030;
constexpr int kScrollAreaKind = 39;
constexpr int kVerticalBar = 2;
constexpr int kMaximumListHeight = 600;

QVector<int> allTransitions()
{
    QVector<int> ids{0, 1, 27, 26, 28};
    for (int id = 2; id <= 25; ++id) {
        if (id != 3 && id != 4 && id != 6 && id != 7)
            ids.append(id);
    }
    return ids + QVector<int>{3, 4, 6, 7};
}

QVector<int> transitionIds(int mode)
{
    switch (mode) {
    case 0:
        return allTransitions();
    case 1:
        return {0, 27, 19, 10, 11, 12, 13, 14, 15, 16};
    default:
        return {};
    }
}

// Once the popup is made, on its first opening.
void makeScrollable(CComboBase* combo)
{
    QObject::connect(combo, &CButtonMenuItem::popupCreated, combo, [](CWindowMenu* popup) {
        popup->setScrollable(kVerticalBar, kScrollAreaKind);
        popup->contentWidget()->setMaximumHeight(kMaximumListHeight);
    });
}

// One item per id, with the value's icon, made when the popup is; the names come with updateTexts.
template <class Enum>
void addEffectItems(CComboBase* combo, const QVector<int>& ids, QString (*icon)(int))
{
    for (int id : ids) {
        const int styleKind = id == kRandom ? kRandomItemKind : -1;
        combo->addDeferredItem(QVariant::fromValue(Enum(id)), QString(), icon(id), styleKind);
    }
}

// The items stand in the order of the ids.
void nameEffectItems(CComboBase* combo, const QVector<int>& ids, QString (*name)(int))
{
    for (int i = 0; i < ids.size(); ++i)
        combo->setItemTextAt(i, name(ids.at(i)));
}

} // namespace

TransitionSelector::TransitionSelector(int styleKind, int mode, QWidget* parent)
    : CComboBase(styleKind, QSizePolicy::MinimumExpanding, 1, parent)
    , m_ids(transitionIds(mode))
{
    transitionTypeId();
    if (mode == 0)
        makeScrollable(this);
    if (mode == 2)
        setEnabled(false);
    addEffectItems<TransitionType>(this, m_ids, transitionIcon);
    connect(this, &CComboBase::currentDataChanged, this,
            [this](const QVariant& data) { emit transitionChanged(enumFromVariant<TransitionType>(data)); });
}

TransitionSelector::~TransitionSelector() = default;

TransitionType TransitionSelector::transition() const
{
    return enumFromVariant<TransitionType>(currentData());
}

void TransitionSelector::setTransition(TransitionType tt)
{
    setCurrentData(QVariant::fromValue(tt));
}

void TransitionSelector::setTransitionSilently(TransitionType tt)
{
    setCurrentDataSilently(QVariant::fromValue(tt));
}

void TransitionSelector::updateTexts()
{
    nameEffectItems(this, m_ids, transitionName);
}

MotionSelector::MotionSelector(int styleKind, QWidget* parent)
    : CComboBase(styleKind, QSizePolicy::MinimumExpanding, 1, parent)
{
    motionTypeId();
    for (int id = 0; id <= 11; ++id)
        m_ids.append(id);
    makeScrollable(this);
    addEffectItems<MotionType>(this, m_ids, motionIcon);
    connect(this, &CComboBase::currentDataChanged, this,
            [this](const QVariant& data) { emit motionChanged(enumFromVariant<MotionType>(data)); });
}

MotionSelector::~MotionSelector() = default;

MotionType MotionSelector::motion() const
{
    return enumFromVariant<MotionType>(currentData());
}

void MotionSelector::setMotion(MotionType mt)
{
    setCurrentData(QVariant::fromValue(mt));
}

void MotionSelector::setMotionSilently(MotionType mt)
{
    setCurrentDataSilently(QVariant::fromValue(mt));
}

void MotionSelector::updateTexts()
{
    nameEffectItems(this, m_ids, motionName);
}
