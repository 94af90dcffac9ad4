#pragma once

#include <QString>

// Removal of files and folders that never follows a symbolic link: a link, given or
// found inside, is removed as a link.
namespace FileTree {

// Removes the file, link or folder with everything in it, stopping at the first entry
// that cannot be removed; true when nothing is left.
bool remove(const QString& path);
// Removes everything inside the folder but the entry named keep, if given; the folder stays,
// and a link named as the folder is not entered.
void clear(const QString& path, const QString& keep = QString());

} // namespace FileTree
