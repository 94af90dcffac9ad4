#pragma once

#include "app/ProgressReader.h"

#include <QDateTime>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <memory>

class GroupProcess;

// Makes one video at a time by running the render helper on a request file: a fresh
// session per run, its progress, pause and cancel through the session's values, and the
// outcome. Nothing of a session outlives the composer.
class Composer : public QObject
{
    Q_OBJECT

public:
    explicit Composer(QObject* parent = nullptr);
    // Ends a running helper with every process it started, then removes the session
    // folder (the whole cache root before any run) and every session's values.
    ~Composer() override;

    // The video the helper is to write.
    void setOutputFile(const QString& file);
    bool isRunning() const;
    // Empty until the first run.
    QString sessionId() const { return m_sessionId; }
    // "<cache root>/<session id>"; before the first run the cache root itself, with a
    // trailing separator.
    QString sessionCacheDir() const;

signals:
    void started();
    // The helper ended well and wrote the output file anew.
    void finished(QString file);
    void failed(QString err);
    void canceled();
    void progress(int percent, qlonglong remainingMs);

public slots:
    // Ignored while a helper runs.
    void run(QString requestFile);
    // These three act only while a helper runs.
    void cancel();
    void pause();
    void resume();
    // Ends a running helper with its group at once, for a program that closes; its end is
    // waited for and reported as canceled().
    void abort();

private slots:
    void onFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void onStarted();
    void onError(QProcess::ProcessError error);
    void onReadRead();

private:
    // What is known of a file, to tell a new or rewritten one from one left as it was.
    struct FileStamp
    {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;

        static FileStamp of(const QString& path);
        bool operator==(const FileStamp& other) const;
    };

    void setPaused(bool paused);
    void endAfterCancel();
    void endProcess();

    QString m_sessionId;
    std::unique_ptr<GroupProcess> m_process;
    QString m_outputFile;
    ProgressReader m_progress;
    QString m_sessionKey;
    bool m_canceled = false;
    FileStamp m_outputBefore;
    // The helper's group is ended this long after a cancel.
    QTimer m_killTimer;
};
