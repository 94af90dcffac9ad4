#include "pages/FontsCombo.h"

#include "pages/GlobalFamiliesMenu.h"

#include <QPointer>
#include <QSignalBlocker>

namespace {

QPointer<GlobalFamiliesMenu>& sharedMenu()
{
    static QPointer<GlobalFamiliesMenu> menu;
    return menu;
}

} // namespace

FontsCombo::FontsCombo(int styleKind, QWidget* parent)
    : CButton(styleKind, parent)
{
    setCheckable(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(this, &CButton::toggled, this, &FontsCombo::onToggled);
}

FontsCombo::~FontsCombo() = default;

void FontsCombo::onToggled(bool checked)
{
    GlobalFamiliesMenu* menu = sharedMenu();
    if (!menu)
        return;
    if (checked)
        menu->showFor(this);
    else
        menu->fadeOut();
}

void FontsCombo::setFamily(const QString& family)
{
    if (family != m_family) {
        m_family = family;
        setText(family);
        emit familyChanged(family);
    }
    const GlobalFamiliesMenu* menu = sharedMenu();
    const FamilyInfo info = menu ? menu->familyInfo(family) : FamilyInfo();
    if (info.hasBold != m_hasBold) {
        m_hasBold = info.hasBold;
        emit hasBoldChanged(m_hasBold);
    }
    if (info.hasItalic != m_hasItalic) {
        m_hasItalic = info.hasItalic;
        emit hasItalicChanged(m_hasItalic);
    }
}

void FontsCombo::setFamilySilently(const QString& family)
{
    const QSignalBlocker blocker(this);
    setFamily(family);
}

void FontsCombo::preloadFamiliesMenu(QWidget* parent, int windowKind, int itemKind, int editKind,
                                     const std::function<void()>& pump, const FamilySource& source)
{
    if (!sharedMenu())
        sharedMenu() = new GlobalFamiliesMenu(parent, windowKind, itemKind, editKind, source, pump);
}

GlobalFamiliesMenu* FontsCombo::familiesMenu()
{
    return sharedMenu();
}
