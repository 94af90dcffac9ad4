#pragma once

#include <QObject>
#include <QString>

class MainWindowWatch;
class QTimer;

// Writes the running program's main window to a PNG file once the project page shows its rows
// with their thumbnails and no job of the start (the import of the project's music) is in
// progress, prints the file's path and ends the program; when that takes longer than the
// time-out, says what was missing and ends it with a failure.
class WindowShot : public QObject
{
    Q_OBJECT

public:
    WindowShot(const QString& pngFile, int timeoutMs, QObject* parent);

private:
    void writeWhenIdle();
    void write();
    void timeOut();
    // Closes the main window as a user would, then ends the event loop with that code.
    static void finish(int code);

    MainWindowWatch* m_watch;
    QTimer* m_idlePoll;
    QString m_pngFile;
};
