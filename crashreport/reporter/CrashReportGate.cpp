#include "CrashReportGate.h"

#include "crashreport/reporter/CrashReporter.h"

#include <QObject>

namespace CrashReportGate {

bool isOpen(const QDateTime& now)
{
    return now < QDateTime(QDate(2026, 10, 15), QTime(0, 0), Qt::LocalTime);
}

bool reporterFlag(const QDate& today)
{
    return today < QDate(2023, 9, 20);
}

CrashReporter* setUp(QObject* application, const QDateTime& now, const QString& version, bool noGui,
                     const QString& machineId)
{
    if (!isOpen(now))
        return nullptr;
    auto* reporter = new CrashReporter(applicationName, version, noGui);
    reporter->setProperty(QStringLiteral("m_id"), machineId);
    QObject::connect(application, &QObject::destroyed, [reporter] { delete reporter; });
    return reporter;
}

} // namespace CrashReportGate
