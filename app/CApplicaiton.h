#pragma once

#include "app/CSingleApplication.h"

#include <QColor>
#include <QPoint>

#include <memory>

class CIconRepo;
class CSettingsStorage;
class CSystemTools;

// The widget library's application: one instance per user, it holds the settings object, the
// icon repository and the system-tools service, installs the Qt hooks and hands widgets
// whole-pixel mouse-move positions.
class CApplicaiton : public CSingleApplication
{
public:
    CApplicaiton(int& argc, char** argv);
    ~CApplicaiton() override;

    bool isGuiThread() const;

    void setSettings(CSettingsStorage* settings);
    // Null once the settings object is gone.
    CSettingsStorage* settings() const;
    void setFirstRun(bool firstRun);
    bool isFirstRun() const;

    // The registry key under the organisation where "CurrentVersion" may override the version.
    void setProductName(const QString& name);
    // The version in force is "CurrentVersion" of that key when present, else `version`.
    void setVersion(const QString& version);
    QString givenVersion() const;
    // "<config>/<application name>[/<name>]" in native separators; the folder is made when missing.
    static QString configFilePath(const QString& name);

    // Made once through createSystemTools(), then set up with its style.
    CSystemTools* systemTools();
    // Made on first use with the application as its parent.
    CIconRepo* iconRepo();

    // Shows the start screen on the screen of "lastScreen" (the primary one when that index is
    // gone) with the icon's picture and the version in force; null without any screen.
    QWidget* showStartScreen(const QString& iconName, int minimumTime, int tickInterval, int firstDots,
                             int maxDots, const QString& fontFamily, int fontPixelSize, bool handOver,
                             QPoint versionOffset, QPoint loadingOffset, QColor versionColor,
                             QColor loadingColor, bool loadingAtLeft);
    // Null once it closed.
    QWidget* startScreen() const;
    bool isStartScreenVisible() const;

    // Loads the TLS configuration on the thread pool while the GUI thread keeps handling events.
    void warmUpTls();
    virtual bool init();

    bool notify(QObject* receiver, QEvent* event) override;

protected:
    virtual CSystemTools* createSystemTools();
    virtual void onAboutToQuit();
    virtual void onStartScreenDestroyed();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
