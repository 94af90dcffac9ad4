#include "pages/FontFamilies.h"

#include <QFontDatabase>

namespace {

FamilyInfo describeFamily(const QFontDatabase& database, const QString& family)
{
    FamilyInfo info;
    info.symbol = database.writingSystems(family).contains(QFontDatabase::Symbol);
    for (const QString& style : database.styles(family)) {
        info.hasBold = info.hasBold || database.weight(family, style) > QFont::Normal;
        info.hasItalic = info.hasItalic || database.font(family, style, 12).style() != QFont::StyleNormal;
    }
    return info;
}

} // namespace

QString plainFamilyName(const QString& family)
{
    const int bracket = family.lastIndexOf(QLatin1String(" ["));
    if (bracket <= 0 || !family.endsWith(QLatin1Char(']')))
        return family;
    return family.left(bracket);
}

FamilyMap systemFontFamilies()
{
    const QFontDatabase database;
    FamilyMap families;
    for (const QString& family : database.families()) {
        if (database.isPrivateFamily(family) || !database.isScalable(family))
            continue;
        const FamilyInfo info = describeFamily(database, family);
        FamilyInfo& merged = families[plainFamilyName(family)];
        merged.symbol = merged.symbol || info.symbol;
        merged.hasBold = merged.hasBold || info.hasBold;
        merged.hasItalic = merged.hasItalic || info.hasItalic;
    }
    return families;
}
