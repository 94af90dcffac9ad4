#include "support/PhotoFixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#include <csignal>

namespace PhotoFixtures {

const QColor TopLeft(Qt::red);
const QColor TopRight(Qt::green);
const QColor BottomLeft(Qt::blue);
const QColor BottomRight(Qt::white);

QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = width / 2;
    const int h = height / 2;
    painter.fillRect(0, 0, w, h, TopLeft);
    painter.fillRect(w, 0, width - w, h, TopRight);
    painter.fillRect(0, h, w, height - h, BottomLeft);
    painter.fillRect(w, h, width - w, height - h, BottomRight);
    return image;
}

QImage solid(int width, int height, const QColor& color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(qMin(2 * x, 255), qMin(4 * y, 255), 0));
    return image;
}

QByteArray encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    return writer.write(image) ? bytes : QByteArray();
}

TiffDirectory& TiffDirectory::inPlace(quint16 tag, quint16 type, quint32 count, const QByteArray& field)
{
    m_entries += number(tag) + number(type) + number(count) + field.leftJustified(4, '\0', true);
    ++m_count;
    return *this;
}

TiffDirectory& TiffDirectory::shortValue(quint16 tag, quint16 value)
{
    return inPlace(tag, 3, 1, number<quint16>(value));
}

TiffDirectory& TiffDirectory::longValue(quint16 tag, quint32 value)
{
    return inPlace(tag, 4, 1, number<quint32>(value));
}

TiffDirectory& TiffDirectory::atOffset(quint16 tag, quint16 type, quint32 count, quint32 offset)
{
    return inPlace(tag, type, count, number<quint32>(offset));
}

TiffDirectory& TiffDirectory::declareCount(quint16 count)
{
    m_declared = count;
    return *this;
}

QByteArray TiffDirectory::bytes(quint32 next) const
{
    const quint16 count = quint16(m_declared >= 0 ? m_declared : m_count);
    return number(count) + m_entries + number(next);
}

QByteArray TiffDirectory::block(quint32 next, const QByteArray& tail) const
{
    const QByteArray mark = m_order == QDataStream::LittleEndian ? "II" : "MM";
    return mark + number<quint16>(42) + number<quint32>(8) + bytes(next) + tail;
}

QByteArray app1(const QByteArray& payload)
{
    const int size = payload.size() + 2;
    return QByteArray("\xFF\xE1", 2) + char(size >> 8) + char(size & 0xFF) + payload;
}

QByteArray exifApp1(const QByteArray& block)
{
    return app1(QByteArray("Exif\0\0", 6) + block);
}

QByteArray withSegment(const QByteArray& jpeg, const QByteArray& segment)
{
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray orientedJpeg(const QImage& image, QDataStream::ByteOrder order, quint16 orientation)
{
    const QByteArray block = TiffDirectory(order).shortValue(274, orientation).block();
    return withSegment(encode(image, "jpg"), exifApp1(block));
}

namespace {

void putBigEndian(QByteArray& bytes, int at, quint32 value, int length)
{
    for (int i = 0; i < length; ++i)
        bytes[at + i] = char(value >> (8 * (length - 1 - i)));
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

} // namespace

QByteArray declaringSize(const QByteArray& file, const QSize& size)
{
    QByteArray bytes = file;
    if (bytes.startsWith("\x89PNG")) {
        // Signature, chunk length, "IHDR", width, height; the checksum covers type and data.
        putBigEndian(bytes, 16, quint32(size.width()), 4);
        putBigEndian(bytes, 20, quint32(size.height()), 4);
        putBigEndian(bytes, 29, crc32(bytes.mid(12, 17)), 4);
        return bytes;
    }
    // SOF0: marker, length, precision, height, width.
    const int frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        return QByteArray();
    putBigEndian(bytes, frame + 5, quint32(size.height()), 2);
    putBigEndian(bytes, frame + 7, quint32(size.width()), 2);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    if (getrlimit(RLIMIT_FSIZE, &m_saved) != 0)
        return;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = m_saved;
    limited.rlim_cur = bytes;
    m_set = setrlimit(RLIMIT_FSIZE, &limited) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (m_set)
        setrlimit(RLIMIT_FSIZE, &m_saved);
    if (m_oldHandler)
        std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace PhotoFixtures
