#pragma once

#include <QStringList>

class QMimeData;
class QUrl;

// The files a drop brings whose suffix is in the list (compared case-insensitively): a dropped
// file as it is, a dropped folder walked with its subfolders. Each folder lists in name order
// (case-insensitive) with a subfolder entered where it stands, and is walked once by its
// canonical path, so a link back to a parent neither loops nor repeats files.
QStringList filesFromMimeData(const QMimeData* mime, QStringList suffixes);
// The same for one dropped item.
QStringList filesFromUrl(const QUrl& url, const QStringList& suffixes);
