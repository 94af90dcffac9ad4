#include "CrashTestSupport.h"

#include "crashreport/CrashNames.h"

#include <QFile>

namespace {
constexpr uint32_t kNoHook = 0x20;
}

TestInstall::TestInstall()
    : info{}
    , senderFolder(u16(QStringLiteral(BRINDLET_DIR)))
{
    info.size = sizeof(CrashInstallInfo);
    info.applicationName = u"Tester";
    info.applicationVersion = u"1.2";
    info.senderFolder = senderFolder.c_str();
    info.flags = kNoHook;
}

std::u16string u16(const QString& text)
{
    return text.toStdU16String();
}

QString fromU16(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

QString lastError()
{
    char16_t buffer[256];
    lastCrashReporterError(buffer, 256);
    return QString::fromUtf16(buffer);
}

bool blockExists(const std::u16string& blockName)
{
    return QFile::exists(QStringLiteral("/dev/shm") + QString::fromStdString(sharedMemoryName(blockName)));
}

bool eventExists(const std::u16string& crashId)
{
    return QFile::exists(QStringLiteral("/dev/shm/sem.") + QString::fromStdString(crashEventName(crashId)).mid(1));
}
