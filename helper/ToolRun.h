#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs an outside program with an argument list (never a shell) and waits for it.
// Its standard input is closed (an overwrite prompt reads end of file at once);
// its standard output is dropped, its standard error dropped or kept.
class ToolRun
{
public:
    static constexpr int NoLimit = -1;

    // The exit code, or -1 when the program did not start, crashed or ran past the limit.
    static int run(const QString& program, const QStringList& arguments, const QString& folder,
                   int limitMs = NoLimit, QByteArray* errors = nullptr);
};
