#pragma once

#include "BenchPhotos.h"

#include <QFileInfo>
#include <QStringList>
#include <QtConcurrent/QtConcurrentMap>

// The paths of count bench photos of that size in <temp>/<folder>; only the missing ones are
// written, in parallel, so that later runs find them.
inline QStringList benchPhotoFolder(const QString& folder, int count, const QSize& size = QSize(4000, 3000))
{
    QDir dir(QDir::temp().filePath(folder));
    dir.mkpath(QStringLiteral("."));
    QList<int> missing;
    QStringList photos;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        photos.append(path);
        if (!QFileInfo::exists(path))
            missing << i;
    }
    QtConcurrent::blockingMap(missing, [&dir, &size](int index) { writeBenchPhoto(dir, index, size); });
    return photos;
}
