#pragma once

#include <QByteArray>
#include <QString>

namespace WholeFile {

// Replaces the file with the content only once all of it is written; on failure the old
// file stays as it was and false is returned.
bool write(const QString& path, const QByteArray& content);

} // namespace WholeFile
