#pragma once

#include "uilib/controls/CWindow.h"

#include <QObject>
#include <QPointer>

class CResourceCache;
class CStyle;
class QWidget;

// The application-wide service; it owns the style holder, the shared pixmap cache and the
// main window.
class CSystemTools : public QObject
{
    Q_OBJECT
public:
    explicit CSystemTools(QObject* parent);
    // Deletes the main window when it still exists.
    ~CSystemTools() override;

    // The service of the running CApplicaiton; null under any other application.
    static CSystemTools* instance();

    CStyle* style() const;
    // Made again when the previous one is gone; limited to 50 MB.
    CResourceCache* resourceCache();
    // The top-most widget under the cursor, passing over windows that let the mouse through.
    virtual QWidget* widgetUnderCursor() const;
    virtual void setupStyle();
    // The main window; null before it exists and after it is gone.
    CWindow* mainWindow() const;
    void setMainWindow(CWindow* window);
    // The shadow a window created with CWindow::Default asks for.
    virtual CWindow::ShadowType defaultShadowType() const;

    // Makes the main window once: a running instance's message brings it forward, and the start
    // screen hands over to it (it is shown at once when the start screen is gone already).
    void createMainWindowOnce();
    // The program's main window; none here.
    virtual CWindow* createMainWindow();

signals:
    void mainWindowCreated(CWindow* mainWindow);
    void mainWindowShowedFirstTimeEver();
    void mainWindowShowedFirstTimeInCurrentSession();

private:
    void onMainWindowFirstShown();

    QMetaObject::Connection m_firstShown;
    QPointer<CStyle> m_style;
    QPointer<CResourceCache> m_resourceCache;
    QPointer<CWindow> m_mainWindow;
};
