#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

class CrashReporter;
class QObject;

// Whether a program runs with a crash reporter, and the one way both programs make it.
namespace CrashReportGate {

inline const QString applicationName = QStringLiteral("K Slideshow Maker");

// True before 15 October 2026 00:00, local time.
bool isOpen(const QDateTime& now);
// The flag that ty_helper gives its reporter: set only before 20 September 2023.
bool reporterFlag(const QDate& today);

// While the gate is open at `now`: a reporter with the machine id as its "m_id" property, deleted when
// the application object is destroyed. Null past the date.
CrashReporter* setUp(QObject* application, const QDateTime& now, const QString& version, bool noGui,
                     const QString& machineId);

} // namespace CrashReportGate
