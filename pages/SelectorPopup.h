#pragma once

#include "uilib/controls/CWindowMenu.h"

#include <QMap>
#include <QPointer>

class CButton;

// The popup of a checkable selector of one int value: preset items that are taken at once, and
// a typed value that is taken when the popup hides, unless it was dropped. It is deleted when it
// closes and leaves the selector unchecked.
class SelectorPopup : public CWindowMenu
{
    Q_OBJECT
public:
    SelectorPopup(CButton* selector, int initial);
    ~SelectorPopup() override;

    // Shows the popup beside its selector on that edge: the selector's presses reach it through
    // the popup, the content is at least minimumWidth and the selector wide, and the popup stands
    // 10 pixels into the selector unless it is of the combo look (kind 18).
    void showBeside(Qt::Edge edge, int minimumWidth);
    CButton* presetButton(int value) const { return m_presets.value(value); }
    int initialValue() const { return m_initial; }

protected:
    // The selector's value now, and its taking of a different one with notice.
    virtual int selectorValue() const = 0;
    virtual void commit(int value) = 0;

    // A checkable item of the preset, checked when it is the initial value.
    CButton* addPreset(int value, const QString& text);
    // A typed value: the preset items of that value are checked, the others not; whether one is.
    bool setPending(int value);
    void dropPendingAndHide();
    void takePreset(int value);

private:
    void onHidden();

    QPointer<CButton> m_selector;
    int m_initial;
    int m_pending = -1;
    QMap<int, CButton*> m_presets;
};
