#pragma once

#include "pages/FontFamilies.h"
#include "uilib/controls/CButton.h"

#include <functional>

class GlobalFamiliesMenu;

// A button that shows a caption's font family and opens the shared families menu.
class FontsCombo : public CButton
{
    Q_OBJECT
public:
    FontsCombo(int styleKind, QWidget* parent = nullptr);
    ~FontsCombo() override;

    QString family() const { return m_family; }
    bool hasBold() const { return m_hasBold; }
    bool hasItalic() const { return m_hasItalic; }
    void setFamily(const QString& family);
    void setFamilySilently(const QString& family);

    // Builds the shared menu once, as a child of parent; pump keeps the start screen alive meanwhile.
    static void preloadFamiliesMenu(QWidget* parent, int windowKind, int itemKind, int editKind,
                                    const std::function<void()>& pump = {},
                                    const FamilySource& source = systemFontFamilies);
    // The shared menu, or null.
    static GlobalFamiliesMenu* familiesMenu();

signals:
    void familyChanged(QString value);
    void hasBoldChanged(bool value);
    void hasItalicChanged(bool value);

private:
    void onToggled(bool checked);

    QString m_family;
    bool m_hasBold = false;
    bool m_hasItalic = false;
};
