#pragma once

#include <QString>

// What libavformat makes of a media file name or file.
namespace MediaFile {

// True when the file name's extension names a container that can be written.
bool isWritableFormat(const QString& path);
// True when the file opens as media and holds at least one stream: it was written whole.
bool hasStreams(const QString& path);

} // namespace MediaFile
