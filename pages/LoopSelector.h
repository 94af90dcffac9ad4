#pragma once

#include "pages/SelectorPopup.h"
#include "uilib/controls/CButton.h"

#include <QList>
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

    Popup* popup() const;
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

// The list of a loop selector, with a row for a custom count.
class LoopSelector::Popup : public SelectorPopup
{
    Q_OBJECT
public:
    explicit Popup(LoopSelector* selector);
    ~Popup() override;

    CButton* customRow() const { return m_customRow; }
    CSpinBox* customSpin() const { return m_spin; }
    CWidgetText* customTotal() const { return m_total; }

protected:
    int selectorValue() const override;
    void commit(int count) override;

private:
    void addCustomRow(bool presetChecked);
    void onCustomEdited(int count);
    QString totalText(int count) const;
    LoopSelector* selector() const;

    CButton* m_customRow = nullptr;
    CSpinBox* m_spin = nullptr;
    CWidgetText* m_total = nullptr;
};
