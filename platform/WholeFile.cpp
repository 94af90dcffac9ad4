#include "platform/WholeFile.h"

#include <QSaveFile>

namespace WholeFile {

bool write(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::commit misses errors of its final flush, so they are checked here.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace WholeFile
