#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// When the render helper runs with a crash reporter, and what the reporter is told.
namespace CrashReportGate {

inline const QString applicationName = QStringLiteral("K Slideshow Maker");
inline const QString applicationVersion = QStringLiteral("1.0");

// True before 15 October 2026 00:00, local time.
bool isOpen(const QDateTime& now);
// The reporter's flag: set only before 20 September 2023.
bool reporterFlag(const QDate& today);

} // namespace CrashReportGate
