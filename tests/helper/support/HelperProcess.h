#pragma once

#include <QByteArrayList>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

// The ty_helper program run as a child process, its standard output split into lines.
class HelperProcess : public QProcess
{
public:
    // fileSizeLimit: the largest file in bytes that the child may write (a full disk),
    // none when negative.
    explicit HelperProcess(qint64 fileSizeLimit = -1);
    // Ends a program still running (a test that failed half-way).
    ~HelperProcess() override;

    static QString program();

    // The most address space in bytes the child may take (limited memory), none when 0.
    void setAddressSpaceLimit(qint64 bytes) { m_addressSpaceLimit = bytes; }

    void start(const QStringList& arguments);
    // Waits until at least count lines came; false when the program ended first or
    // timeoutMs passed.
    bool waitForLines(int count, int timeoutMs = 30000);
    // Waits for the end; the exit status as the shell reports it (0 to 255), -1 when it
    // did not end normally in time.
    int finish(int timeoutMs = 60000);
    // Every line written so far.
    QByteArrayList lines();
    // The lines written on standard error, once the program ended.
    QByteArrayList errorLines();

    // "value: <done>, total: <total>, remtime:<ms>".
    static bool isProgressLine(const QByteArray& line);
    static qint64 totalOf(const QByteArray& line);

    // Runs the program to its end.
    static int run(const QStringList& arguments, QByteArrayList* lines = nullptr,
                   qint64 fileSizeLimit = -1, QByteArrayList* errorLines = nullptr);

protected:
    void setupChildProcess() override;

private:
    void readLines();

    qint64 m_fileSizeLimit;
    qint64 m_addressSpaceLimit = 0;
    QByteArray m_pending;
    QByteArrayList m_lines;
};

// Writes the document as a request file.
bool writeRequest(const QString& path, const QJsonObject& document);
