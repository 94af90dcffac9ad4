#pragma once

#include <QString>

// Fixed folders of the application; free functions without state.
namespace AppPaths {

// "<temp>/.<application name>-<uid>/cache", made when missing; both folders are the user's only.
QString tempCacheDir();
QString userCacheDir();
QString latestDir();
QString latestProjectFile();

// Both never follow a symbolic link: a link is removed as a link.
// clearDir keeps the entry named keep, if given.
void clearDir(const QString& path, const QString& keep = QString());
bool removeDirRecursively(const QString& path);

} // namespace AppPaths

// 32 hexadecimal digits of a new random UUID.
QString createUniqueToken();

// 3000 -> "3", 2500 -> "2.5", 1234 -> "1.2".
QString msecsToSecondsText(int ms);
