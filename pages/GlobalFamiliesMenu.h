#pragma once

#include "pages/FontFamilies.h"
#include "uilib/controls/CWindowMenu.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class CButtonGroup;
class CLinEdit;
class FontsCombo;

// The one menu of font families that every FontsCombo opens: each family in its own typeface
// (until building it takes too long), with a filter field at the top.
class GlobalFamiliesMenu : public CWindowMenu
{
    Q_OBJECT
public:
    // pump keeps the start screen alive while the items are built; after previewBudgetMs of
    // building, items no longer get their own typeface.
    GlobalFamiliesMenu(QWidget* parent, int windowKind, int itemKind, int editKind, const FamilySource& source,
                       const std::function<void()>& pump = {}, int previewBudgetMs = 2000);
    ~GlobalFamiliesMenu() override;

    void showFor(FontsCombo* combo);
    // The default FamilyInfo for a family the menu does not list.
    FamilyInfo familyInfo(const QString& family) const { return m_families.value(family); }
    QStringList familyNames() const { return m_names; }
    CButton* item(const QString& family) const;
    CButtonGroup* itemGroup() const { return m_group; }
    CLinEdit* filterField() const { return m_filter; }
    QTimer* filterTimer() { return &m_filterTimer; }
    QString appliedFilter() const { return m_appliedFilter; }
    // The combo the menu is open for, or null.
    FontsCombo* combo() const;
    bool isFastMode() const { return m_fastMode; }

    void onFilterEdited(const QString& text);
    void applyFilter();

private:
    void buildItems(const std::function<void()>& pump, int previewBudgetMs);
    void enterFastMode(int builtItems);
    void onShown();
    void onItemToggled(CButton* button, const QVariant& value);
    void onHidden();

    QPointer<FontsCombo> m_combo;
    CButtonGroup* m_group;
    FamilyMap m_families;
    QStringList m_names;
    QPointer<QWidget> m_focusBefore;
    CLinEdit* m_filter;
    QTimer m_filterTimer;
    QString m_appliedFilter;
    QString m_pendingFilter;
    QElapsedTimer m_elapsed;
    bool m_fastMode = false;
};
