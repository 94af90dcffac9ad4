#pragma once

#include <QString>

// Where the programs the system starts are found: an executable file of that name in
// the running program's own folder first, else one on the PATH. Empty when there is none.
namespace ToolPaths {

QString helper();  // "ty_helper", or the program set below
// Makes helper() give this path (tests run a stand-in); an empty path restores the search.
void setHelper(const QString& path);
QString convert(); // "ty_convert"
QString ffmpeg();  // "ffmpeg"

// The same search with the given program folder (none when empty).
QString find(const QString& name, const QString& programDir);

} // namespace ToolPaths
