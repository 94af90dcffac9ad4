#pragma once

#include "pages/SlideRowWidget.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class MainWindow;
class ProjectPage;

// Watches the running program's main window through the application's paint events: its first
// paint, the project page painting the rows of its whole project, and the thumbnails of the rows
// in view painted with their pictures. Each signal comes once, from inside a paint, so a receiver
// that grabs or closes the window connects queued.
class MainWindowWatch : public QObject
{
    Q_OBJECT

public:
    explicit MainWindowWatch(QObject* parent = nullptr);
    ~MainWindowWatch() override;

    // The running program's main window; null before it is made.
    static MainWindow* mainWindow();
    // True while the progress box of a long job (an audio import, a composition) or the dimming
    // under it is up.
    static bool showsJob();
    // What has been seen so far, for a message when a wait runs out.
    QString state() const;

signals:
    void windowPainted();
    void rowsShown();
    void thumbnailsPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Thumbnail = SlideRowWidget::ThumbnailButton;
    struct Painted
    {
        QPointer<Thumbnail> button;
        QPointer<ProjectItem> item;
    };

    void onPaint(QWidget* widget, MainWindow* window);
    // The slide whose picture the button is about to paint; null while it has none.
    static ProjectItem* pictureToPaint(Thumbnail* button);
    static bool showsAllRows(const MainWindow* window);
    // The thumbnail buttons in view; null for a row in view without its widget.
    static QList<Thumbnail*> thumbnailsInView(const ProjectPage* page);
    int picturedCount(const QList<Thumbnail*>& buttons) const;

    QHash<const QObject*, Painted> m_pictured;
    bool m_windowPainted = false;
    bool m_rowsShown = false;
    bool m_thumbnailsPainted = false;
};
