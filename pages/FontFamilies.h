#pragma once

#include <QMap>
#include <QString>

#include <functional>

// What the font menu knows of one family; the default stands for an unknown family.
struct FamilyInfo
{
    bool symbol = false;
    // The font's own sample text; empty when it has none.
    QString sampleText;
    bool hasBold = false;
    bool hasItalic = false;
};

using FamilyMap = QMap<QString, FamilyInfo>;
// Lists the families a caption may use; the font menu asks it once.
using FamilySource = std::function<FamilyMap()>;

// The scalable, public families of the font database under their plain names: the entries Qt
// lists as "Family [Foundry]" for one name count as one family.
FamilyMap systemFontFamilies();

// The family name without a trailing " [Foundry]".
QString plainFamilyName(const QString& family);
