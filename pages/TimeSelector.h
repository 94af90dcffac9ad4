#pragma once

#include "pages/SelectorPopup.h"
#include "uilib/controls/CButton.h"

#include <QList>
#include <QPointer>

class CDoubleSpin;

// A button that shows a duration in seconds and opens a list of preset durations, optionally
// with a field for a custom value and an item that applies the value to all slides. A preset is
// taken at once; a typed value when the popup closes, unless Escape discards it.
class TimeSelector : public CButton
{
    Q_OBJECT
public:
    class Popup;

    TimeSelector(int styleKind, QWidget* parent = nullptr);
    ~TimeSelector() override;

    int msecValue() const { return m_msec; }
    int secValue() const { return m_msec / 1000; }
    void setMsecValue(int ms);
    void setSecValue(int sec);
    void setMsecValueSilently(int ms);
    void setSecValueSilently(int sec);

    void setPresets(const QList<int>& ms);
    void setSecPresets(const QList<int>& sec);
    QList<int> presets() const { return m_presets; }
    // Read when the next popup opens.
    void setPopupEdge(Qt::Edge edge);
    void setMinimumPopupWidth(int width);
    void setCustomValueEnabled(bool enabled);
    void setApplyToAllEnabled(bool enabled);

    Popup* popup() const;
    void updateText();

signals:
    void secValueChanged(int sec);
    void msecValueChanged(int msec);
    void secApplyToAll(int sec);
    void msecApplyToAll(int msec);

private:
    void onToggled(bool checked);
    // Takes a different value and tells the listeners.
    void commit(int ms);

    QPointer<Popup> m_popup;
    Qt::Edge m_popupEdge = Qt::BottomEdge;
    bool m_customValueEnabled = false;
    bool m_applyToAllEnabled = false;
    int m_minimumPopupWidth = 0;
    int m_msec = 0;
    QList<int> m_presets;
};

// The list of a duration selector, in milliseconds.
class TimeSelector::Popup : public SelectorPopup
{
    Q_OBJECT
public:
    Popup(TimeSelector* selector, bool customValue, bool applyToAll);
    ~Popup() override;

    CDoubleSpin* customSpin() const { return m_spin; }
    CButton* applyToAllButton() const { return m_applyToAll; }

protected:
    int selectorValue() const override;
    void commit(int ms) override;

private:
    void addCustomField();
    void onApplyToAll();
    TimeSelector* selector() const;

    CDoubleSpin* m_spin = nullptr;
    CButton* m_applyToAll = nullptr;
};
