#pragma once

#include <QDateTime>
#include <QFileInfo>

namespace FileTime {

// When the file was made: its birth time, or its last change where the file system keeps
// none; invalid when the file does not exist.
inline QDateTime created(const QFileInfo& info)
{
    const QDateTime birth = info.birthTime();
    return birth.isValid() ? birth : info.lastModified();
}

} // namespace FileTime
