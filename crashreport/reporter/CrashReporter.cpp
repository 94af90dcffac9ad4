#include "CrashReporter.h"

#include "crashreport/CrashReporterApi.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char16_t kUploadUrl[] = u"https://kestrovasoft.com/index.php";
constexpr uint32_t kInstallFlags = 0x604000;
constexpr uint32_t kNoGui = 0x2000;
constexpr uint32_t kMinidumpType = 0x1974;
constexpr int kJpegQuality = 75;
constexpr uint32_t kScreenshotAsJpeg = 8;

const QString kMachineIdProperty = QStringLiteral("m_id");

const char16_t* wide(const QString& text)
{
    return QStringView(text).utf16();
}

// The machine id goes out only as a salted hash.
QString sentValue(const QString& name, const QString& value)
{
    if (name != kMachineIdProperty)
        return value;
    return QString::fromLatin1(
        QCryptographicHash::hash(value.toUtf8() + "Kestrova", QCryptographicHash::Md5).toHex());
}

} // namespace

class CrashReporter::Private
{
public:
    void fillInstallRecord(bool noGui);
    void markCrash() const;
    void addLogFiles() const;
    void addExtraFiles() const;

    CrashInstallInfo installInfo{};
    bool screenshotWanted = true;
    bool screenshotAsJpeg = false;
    int logFileCount = 1;
    std::u16string applicationName;
    std::u16string applicationVersion;
    // Made ahead, so that a crash only reads them: the marker's path and the values as sent.
    QByteArray markerFile;
    QMap<QString, QString> properties;
    QString logFolder;
    QStringList logNameFilters;
    QMap<QString, QString> extraFiles;  // description -> path
    bool installed = false;
    QString installError;
};

void CrashReporter::Private::fillInstallRecord(bool noGui)
{
    installInfo.size = sizeof(CrashInstallInfo);
    installInfo.applicationName = applicationName.c_str();
    installInfo.applicationVersion = applicationVersion.c_str();
    installInfo.url = kUploadUrl;
    const int32_t priorities[] = {1, -1, -1, 0, 0};
    std::copy(std::begin(priorities), std::end(priorities), installInfo.priorities);
    installInfo.flags = kInstallFlags | (noGui ? kNoGui : 0);
    installInfo.privacyPolicyUrl = u"";
    installInfo.minidumpType = kMinidumpType;
}

void CrashReporter::Private::markCrash() const
{
    if (markerFile.isEmpty())
        return;
    const int fd = ::open(markerFile.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const char mark = 2;
    [[maybe_unused]] const ssize_t written = ::write(fd, &mark, 1);
    ::close(fd);
}

void CrashReporter::Private::addLogFiles() const
{
    if (logFolder.isEmpty())
        return;
    const QFileInfoList logs = QDir(logFolder).entryInfoList(logNameFilters, QDir::Files, QDir::Time);
    for (int i = 0; i < logs.size() && i < logFileCount; ++i)
        addReportFile(wide(logs[i].absoluteFilePath()), nullptr, u"Log file", CrashFileMakeCopy);
}

void CrashReporter::Private::addExtraFiles() const
{
    for (auto it = extraFiles.cbegin(); it != extraFiles.cend(); ++it)
        addReportFile(wide(it.value()), nullptr, wide(it.key()), CrashFileMakeCopy);
}

CrashReporter::CrashReporter(const QString& applicationName, const QString& applicationVersion, bool noGui)
    : d(std::make_unique<Private>())
{
    d->applicationName = applicationName.toStdU16String();
    d->applicationVersion = applicationVersion.toStdU16String();
    d->fillInstallRecord(noGui);
    if (installCrashReporter(&d->installInfo) != 0) {
        char16_t text[256];
        lastCrashReporterError(text, 256);
        d->installError = QString::fromUtf16(text);
        return;
    }
    setCrashCallback(&CrashReporter::crashCallback, this);
    d->installed = true;
}

CrashReporter::~CrashReporter()
{
    // Uninstalling works on the installing thread only: elsewhere the handler at least forgets this object.
    if (d->installed && uninstallCrashReporter() != 0)
        setCrashCallback(nullptr, nullptr);
}

bool CrashReporter::isInstalled() const
{
    return d->installed;
}

QString CrashReporter::installError() const
{
    return d->installError;
}

void CrashReporter::setProperty(const QString& name, const QString& value)
{
    d->properties[name] = sentValue(name, value);
}

void CrashReporter::setMarkerFile(const QString& path)
{
    d->markerFile = QFile::encodeName(path);
}

void CrashReporter::setLogFolder(const QString& folder, const QStringList& nameFilters)
{
    d->logFolder = folder;
    d->logNameFilters = nameFilters;
}

void CrashReporter::setLogFileCount(int count)
{
    d->logFileCount = count;
}

void CrashReporter::addExtraFile(const QString& description, const QString& path)
{
    d->extraFiles[description] = path;
}

void CrashReporter::setScreenshotAsJpeg(bool jpeg)
{
    d->screenshotAsJpeg = jpeg;
}

// Runs on the failing thread: it loops over what was made ahead and calls the reporter's functions.
int CrashReporter::crashCallback(CrashCallbackInfo* info)
{
    const Private& p = *static_cast<const CrashReporter*>(info->userData)->d;
    p.markCrash();
    for (auto it = p.properties.cbegin(); it != p.properties.cend(); ++it)
        addReportProperty(wide(it.key()), wide(it.value()));
    p.addLogFiles();
    p.addExtraFiles();
    if (p.screenshotWanted)
        addReportScreenshot(p.screenshotAsJpeg ? kScreenshotAsJpeg : 0, kJpegQuality);
    return 1;
}
