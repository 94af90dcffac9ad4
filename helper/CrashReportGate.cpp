#include "helper/CrashReportGate.h"

namespace CrashReportGate {

bool isOpen(const QDateTime& now)
{
    return now < QDateTime(QDate(2026, 10, 15), QTime(0, 0), Qt::LocalTime);
}

bool reporterFlag(const QDate& today)
{
    return today < QDate(2023, 9, 20);
}

} // namespace CrashReportGate
