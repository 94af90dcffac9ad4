#pragma once

#include <QByteArray>

#include <optional>

// Reads the render helper's progress lines, "value: <done>, total: <total>, remtime:<ms>",
// from its output as the pieces come. Only complete lines count, and of each piece only
// the last complete line; a line cut at the end of a piece waits for the rest.
class ProgressReader
{
public:
    struct Progress
    {
        int percent = 0;
        qlonglong remainingMs = 0;
    };

    // The progress of the last line this piece completes, when it is a progress line with
    // a total above 0.
    std::optional<Progress> read(const QByteArray& piece);
    // Forgets an unfinished line.
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};
