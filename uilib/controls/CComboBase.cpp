#include "uilib/controls/CComboBase.h"

#include "uilib/controls/CWindowMenu.h"

#include <QBoxLayout>
#include <QPointer>
#include <QSignalBlocker>

#include <algorithm>

struct CComboBase::Item
{
    QVariant value;
    QPointer<CButton> button;
    QString text;
    // A deferred item's item style kind until the popup makes its button (-1 once made), then
    // its icon and own style kind (-1: none).
    int deferredKind = -1;
    QString iconName;
    int styleKind = -1;
};

struct CComboBase::Private
{
    Item current;
    QList<Item> items;
    QString suffix;
    int itemStyleKind = 19;
    int widthMode = 0;
};

CComboBase::CComboBase(int styleKind, QSizePolicy::Policy horizontalPolicy, int widthMode, QWidget* parent,
                       bool deferStyle)
    : CButtonMenuItem(styleKind, 0, 8, 1, parent, true)
    , d(new Private)
{
    connect(this, &CButtonMenuItem::popupCreated, this, &CComboBase::onPopupCreated);
    d->widthMode = widthMode;
    if (widthMode != 1)
        updateGeometry();
    setSizePolicy(horizontalPolicy, QSizePolicy::Fixed);
    if (!deferStyle)
        CButtonMenuItem::applyStyle();
}

CComboBase::~CComboBase() = default;

CButton* CComboBase::addItem(const QVariant& value, const QString& text)
{
    CButton* button = popup()->addButtonItem(d->itemStyleKind);
    addItemButton(button, value, text);
    return button;
}

void CComboBase::addItemButton(CButton* button, const QVariant& value, const QString& text)
{
    if (!popup()->isAncestorOf(button))
        popup()->addWidget(button);
    Item item{value, button, text.isEmpty() ? value.toString() : text, -1, QString(), -1};
    button->setText(item.text + d->suffix);
    connectItemButton(button);
    d->items.append(item);
    if (d->widthMode == 2)
        updateGeometry();
}

void CComboBase::addDeferredItem(const QVariant& value, const QString& text, const QString& iconName, int styleKind)
{
    d->items.append(
        Item{value, nullptr, text.isEmpty() ? value.toString() : text, d->itemStyleKind, iconName, styleKind});
    if (hasPopup())
        buildDeferredItem(d->items.last());
    if (d->widthMode == 2)
        updateGeometry();
}

void CComboBase::connectItemButton(CButton* button)
{
    connect(button, &CButton::toggled, this, [this, button](bool checked) { onItemToggled(button, checked); });
}

void CComboBase::onPopupCreated(CWindowMenu* popup)
{
    popup->setStyleKind(5);
    // The current item may be one of them: its button is checked as setCurrentData would have.
    const bool currentDeferred = d->current.deferredKind >= 0;
    d->current.deferredKind = -1;
    for (Item& item : d->items) {
        if (item.deferredKind < 0)
            continue;
        buildDeferredItem(item);
        if (currentDeferred && item.value == d->current.value) {
            item.button->setChecked(true);
            d->current.button = item.button;
        }
    }
}

void CComboBase::buildDeferredItem(Item& item)
{
    CButton* button = popup()->addButtonItem(item.deferredKind);
    button->setText(item.text + d->suffix);
    connectItemButton(button);
    if (!item.iconName.isEmpty())
        button->setIcon(item.iconName);
    if (item.styleKind >= 0)
        button->setStyleKind(item.styleKind);
    item.button = button;
    item.deferredKind = -1;
    item.iconName.clear();
}

void CComboBase::onItemToggled(CButton* button, bool checked)
{
    if (!checked)
        return;
    const auto found = std::find_if(d->items.cbegin(), d->items.cend(),
                                    [button](const Item& item) { return item.button == button; });
    if (found == d->items.cend())
        return;
    if (d->current.button != button)
        uncheckCurrentButton();
    d->current = *found;
    showCurrentText();
    emit currentDataChanged(d->current.value);
    emit itemClicked();
}

void CComboBase::uncheckCurrentButton()
{
    if (d->current.button)
        d->current.button->setChecked(false);
}

void CComboBase::clearCurrent()
{
    d->current = Item();
}

void CComboBase::showCurrentText()
{
    setText(d->current.text + d->suffix);
}

void CComboBase::clearItems()
{
    d->items.clear();
    CButtonMenuItem::clearItems();
}

void CComboBase::setItems(int itemStyleKind, const QList<QVariant>& values, int keepMode)
{
    const Item saved = d->current;
    clearCurrent();
    clearItems();
    for (const QVariant& value : values)
        addItemButton(popup()->addButtonItem(itemStyleKind), value, QString());
    applyKeepMode(keepMode, saved.value, saved.text);
    if (d->widthMode == 2)
        updateGeometry();
}

void CComboBase::setItems(const QVariantList& values)
{
    setItems(itemStyleKind(), values, 3);
}

void CComboBase::applyKeepMode(int keepMode, const QVariant& savedValue, const QString& savedText)
{
    const bool kept = hasItem(savedValue);
    const auto clearShown = [this] {
        showCurrentText();
        emit currentDataChanged(QVariant());
    };
    const auto takeFirst = [this, &clearShown] {
        if (d->items.isEmpty())
            clearShown();
        else
            setCurrentData(d->items.first().value);
    };
    switch (keepMode) {
    case 0:
        clearShown();
        break;
    case 1:
        takeFirst();
        break;
    case 2:
    case 3:
    case 4:
        if (kept)
            setCurrentDataSilently(savedValue);
        else if (keepMode == 2)
            clearShown();
        else if (keepMode == 3)
            takeFirst();
        else
            d->current = Item{savedValue, nullptr, savedText, -1, QString(), -1};
        break;
    default:
        break;
    }
}

void CComboBase::setItemText(const QVariant& value, const QString& text)
{
    const auto found = std::find_if(d->items.begin(), d->items.end(),
                                    [&value](const Item& item) { return item.value == value; });
    if (found != d->items.end())
        nameItem(*found, text);
    if (d->current.value == value) {
        d->current.text = text;
        showCurrentText();
    }
}

void CComboBase::setItemTextAt(int index, const QString& text)
{
    if (index < 0 || index >= d->items.size())
        return;
    Item& item = d->items[index];
    nameItem(item, text);
    if (d->current.value == item.value) {
        d->current.text = text;
        showCurrentText();
    }
}

void CComboBase::nameItem(Item& item, const QString& text)
{
    item.text = text;
    if (item.button)
        item.button->setText(text + d->suffix);
}

void CComboBase::setCurrentData(const QVariant& value, const QString& text)
{
    if (d->current.value == value)
        return;
    uncheckCurrentButton();
    bool matched = false;
    for (const Item& item : qAsConst(d->items)) {
        if (item.value != value)
            continue;
        d->current = item;
        if (item.button)
            item.button->setChecked(true);
        matched = true;
    }
    if (!matched)
        d->current = Item{value, nullptr, text.isEmpty() ? value.toString() : text, -1, QString(), -1};
    showCurrentText();
    emit currentDataChanged(d->current.value);
}

void CComboBase::setCurrentDataSilently(const QVariant& value, const QString& text)
{
    const QSignalBlocker blocker(this);
    setCurrentData(value, text);
}

QVariant CComboBase::currentData() const { return d->current.value; }
QString CComboBase::currentText() const { return d->current.text; }
int CComboBase::itemStyleKind() const { return d->itemStyleKind; }
void CComboBase::setItemStyleKind(int kind) { d->itemStyleKind = kind; }
QString CComboBase::suffix() const { return d->suffix; }
int CComboBase::widthMode() const { return d->widthMode; }

bool CComboBase::hasItem(const QVariant& value) const
{
    return std::any_of(d->items.cbegin(), d->items.cend(),
                       [&value](const Item& item) { return item.value == value; });
}

void CComboBase::setSuffix(const QString& suffix)
{
    if (d->suffix == suffix)
        return;
    d->suffix = suffix;
    for (const Item& item : qAsConst(d->items)) {
        if (item.button)
            item.button->setText(item.text + suffix);
    }
    showCurrentText();
    if (d->widthMode == 2)
        updateGeometry();
}

int CComboBase::panelMarginsWidth() const
{
    const QMargins margins = CPanelDraw::margins();
    return margins.left() + margins.right();
}

QSize CComboBase::sizeHint() const
{
    QSize hint = CButton::sizeHint();
    // The items' own width: the popup's content takes the combo's width once it has shown.
    if (d->widthMode == 2 && popup()->itemLayout())
        hint.setWidth(qMax(hint.width(), popup()->itemLayout()->sizeHint().width() + panelMarginsWidth()));
    return hint;
}

void CComboBase::aboutToShowPopup(bool*)
{
    const int width = this->width() - panelMarginsWidth();
    if (QWidget* content = popup()->contentWidget()) {
        if (d->widthMode == 1)
            content->setMinimumWidth(width);
        else if (d->widthMode == 2)
            content->setFixedWidth(width);
    }
    if (d->current.button)
        popup()->ensureItemVisible(d->current.button);
}
