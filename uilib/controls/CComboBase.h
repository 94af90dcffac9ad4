#pragma once

#include "uilib/controls/CButtonMenuItem.h"

#include <QSizePolicy>
#include <QVariant>

#include <memory>

// The library's combo box: its popup menu lists one checkable item button per value, and the combo
// shows the text of the current value followed by its suffix.
class CComboBase : public CButtonMenuItem
{
    Q_OBJECT
public:
    // Width mode 0: none; 1: the popup at least as wide as the combo; 2: the popup exactly as wide,
    // and the combo as wide as its widest item.
    CComboBase(int styleKind, QSizePolicy::Policy horizontalPolicy, int widthMode, QWidget* parent = nullptr,
               bool deferStyle = false);
    ~CComboBase() override;

    // An item of the item style kind; an empty text shows the value's text form.
    CButton* addItem(const QVariant& value, const QString& text = QString());
    // The same item, its button made with the popup, then given the icon and the style kind
    // (-1: the item style kind).
    void addDeferredItem(const QVariant& value, const QString& text = QString(), const QString& iconName = QString(),
                         int styleKind = -1);
    // Replaces every item. Keep mode 0: nothing current; 1: the first value; 2: the old value when
    // an item has it, else nothing; 3: the old value, else the first; 4: the old value, also without
    // an item.
    void setItems(int itemStyleKind, const QList<QVariant>& values, int keepMode);
    void setItems(const QVariantList& values);
    void clearItems();
    void setItemText(const QVariant& value, const QString& text);
    // The same for the item at that place in the list.
    void setItemTextAt(int index, const QString& text);
    void setCurrentData(const QVariant& value, const QString& text = QString());
    void setCurrentDataSilently(const QVariant& value, const QString& text = QString());
    QVariant currentData() const;
    QString currentText() const;
    bool hasItem(const QVariant& value) const;
    int itemStyleKind() const;
    void setItemStyleKind(int kind);
    // Stands behind every item text and the combo's own text.
    void setSuffix(const QString& suffix);
    QString suffix() const;
    int widthMode() const;

    QSize sizeHint() const override;

signals:
    void currentDataChanged(QVariant data);
    void itemClicked();

protected:
    void aboutToShowPopup(bool* allow) override;

private:
    struct Private;
    struct Item;
    void addItemButton(CButton* button, const QVariant& value, const QString& text);
    void connectItemButton(CButton* button);
    void onPopupCreated(CWindowMenu* popup);
    void nameItem(Item& item, const QString& text);
    void buildDeferredItem(Item& item);
    void onItemToggled(CButton* button, bool checked);
    void showCurrentText();
    void clearCurrent();
    void uncheckCurrentButton();
    void applyKeepMode(int keepMode, const QVariant& savedValue, const QString& savedText);
    int panelMarginsWidth() const;

    std::unique_ptr<Private> d;
};
