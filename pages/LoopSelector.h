#pragma once

#include "uilib/controls/CButton.h"
#include "uilib/controls/CWindowMenu.h"

#include <QList>
#include <QMap>
#include <QPointer>

class CSpinBox;
class CWidgetText;

// A button that shows how many times the slideshow repeats, with the total length, and opens a
// list of preset counts and a custom count from 1 to 99.
class LoopSelector : public CButton
{
    Q_OBJECT
public:
    class Popup;

    LoopSelector(int styleKind, QWidget* parent = nullptr);
    ~LoopSelector() override;

    int value() const { return m_count; }
    void setValueSilently(int count);
    void setPresets(const QList<int>& counts);
    QList<int> presets() const { return m_presets; }
    void setPopupEdge(Qt::Edge edge);
    void setOneLoopDuration(qint64 ms);
    qint64 oneLoopDuration() const { return m_oneLoop; }

    Popup* popup() const { return m_popup; }
    void updateText();
    void applyStyle() override;

signals:
    void valueChanged(int val);

private:
    void onToggled(bool checked);
    // Takes a different count and tells the listeners.
    void commit(int count);

    QPointer<Popup> m_popup;
    Qt::Edge m_popupEdge = Qt::BottomEdge;
    qint64 m_oneLoop = 0;
    int m_count = 0;
    QList<int> m_presets;
};

// The list of a loop selector; deleted when it closes.
class LoopSelector::Popup : public CWindowMenu
{
    Q_OBJECT
public:
    explicit Popup(LoopSelector* selector);
    ~Popup() override;

    CButton* presetButton(int count) const { return m_presetButtons.value(count); }
    CButton* customRow() const { return m_customRow; }
    CSpinBox* customSpin() const { return m_spin; }
    CWidgetText* customTotal() const { return m_total; }

    void onPresetToggled(int count, bool checked);
    void onCustomEdited(int count);
    void onHidden();

private:
    void addCustomRow(bool presetChecked);
    QString totalText(int count) const;

    QPointer<LoopSelector> m_selector;
    int m_initial = 0;
    int m_pending = -1;
    QMap<int, CButton*> m_presetButtons;
    CButton* m_customRow = nullptr;
    CSpinBox* m_spin = nullptr;
    CWidgetText* m_total = nullptr;
};
