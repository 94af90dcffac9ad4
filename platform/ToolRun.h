#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Runs an outside program with an argument list (never a shell) and waits for it.
// Its standard input is closed (an overwrite prompt reads end of file at once);
// its standard output is dropped, its standard error dropped or kept. The program
// dies with the thread that started it, also when this process is killed.
class ToolRun
{
public:
    static constexpr int NoLimit = -1;
    // How often a running program's stop check is asked.
    static constexpr int PollMs = 50;

    // True once the program is to be ended at once.
    using StopCheck = std::function<bool()>;

    // The exit code, or -1 when the program did not start, crashed, ran past the limit
    // or was stopped.
    static int run(const QString& program, const QStringList& arguments, const QString& folder,
                   int limitMs = NoLimit, QByteArray* errors = nullptr,
                   const StopCheck& stop = StopCheck());
};
