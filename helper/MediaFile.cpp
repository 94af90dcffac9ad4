#include "helper/MediaFile.h"

#include "av/AvHolders.h"

#include <QFile>
#include <QFileInfo>

namespace MediaFile {

bool isWritableFormat(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return !suffix.isEmpty()
        && av_guess_format(nullptr, QFile::encodeName(QStringLiteral("x.") + suffix).constData(), nullptr);
}

bool hasStreams(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    AVFormatContext* opened = nullptr;
    // The prefix keeps any name a local path.
    const QByteArray url = "file:" + QFile::encodeName(path);
    if (avformat_open_input(&opened, url.constData(), nullptr, nullptr) < 0)
        return false;
    const AvInputPtr format(opened);
    return avformat_find_stream_info(format.get(), nullptr) >= 0 && format->nb_streams > 0;
}

} // namespace MediaFile
