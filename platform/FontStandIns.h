#pragma once

#include <QString>
#include <QStringList>

// The interface and caption faces the programs ask for ("Tahoma", "Segoe UI", "Segoe UI Semibold")
// are not installed here. Where the condensed DejaVu face is, it stands in for them: its widths
// are near theirs, while the plain face fontconfig would pick is much wider. Fonts keep asking
// for the same family names.
namespace FontStandIns {

const QString kStandIn = QStringLiteral("DejaVu Sans Condensed");

// The family names that the stand-in replaces.
QStringList families();

// Maps each of them to the stand-in when it is installed and the family itself is not; needs the
// application object. True when the stand-in is in force.
bool install();

} // namespace FontStandIns
