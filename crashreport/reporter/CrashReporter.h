#pragma once

#include <QString>
#include <QStringList>

#include <memory>

struct CrashCallbackInfo;

// Switches crash reporting on for the program's run: installs the crash handler and, when a fatal
// error happens, adds the properties, the files and the screenshot request to the report.
class CrashReporter
{
public:
    CrashReporter(const QString& applicationName, const QString& applicationVersion, bool noGui);
    // Uninstalls the handler, when this reporter installed it.
    ~CrashReporter();
    CrashReporter(const CrashReporter&) = delete;
    CrashReporter& operator=(const CrashReporter&) = delete;

    bool isInstalled() const;
    // Why the installation failed; empty once installed.
    QString installError() const;

    // A second call with the same name replaces the value.
    void setProperty(const QString& name, const QString& value);

    // A file that a crash marks with the one byte 2.
    void setMarkerFile(const QString& path);
    // The newest files of the folder that match the filters go into a report.
    void setLogFolder(const QString& folder, const QStringList& nameFilters);
    void setLogFileCount(int count);
    void addExtraFile(const QString& description, const QString& path);
    void setScreenshotAsJpeg(bool jpeg);

private:
    class Private;

    static int crashCallback(CrashCallbackInfo* info);

    std::unique_ptr<Private> d;
};
