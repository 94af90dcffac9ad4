#pragma once

#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QImage>
#include <QSize>
#include <QString>

#include <sys/resource.h>

// Picture files made in code: JPEGs with hand-built EXIF blocks spliced in.
namespace PhotoFixtures {

// Quadrant colours of `quadrants`: top-left, top-right, bottom-left, bottom-right.
extern const QColor TopLeft, TopRight, BottomLeft, BottomRight;

QImage quadrants(int width, int height);
QImage solid(int width, int height, const QColor& color);
// Red and green tell a pixel's place: red = 2 x column, green = 4 x row (both up to 255).
QImage gradient(int width, int height);
QByteArray encode(const QImage& image, const char* format);

// One TIFF directory (IFD), written entry by entry in the given byte order.
class TiffDirectory
{
public:
    explicit TiffDirectory(QDataStream::ByteOrder order) : m_order(order) {}

    // Value stored in the entry itself (at most 4 bytes).
    TiffDirectory& inPlace(quint16 tag, quint16 type, quint32 count, const QByteArray& field);
    TiffDirectory& shortValue(quint16 tag, quint16 value);
    TiffDirectory& longValue(quint16 tag, quint32 value);
    // Data at an offset from the TIFF header.
    TiffDirectory& atOffset(quint16 tag, quint16 type, quint32 count, quint32 offset);
    // Writes this count instead of the real one.
    TiffDirectory& declareCount(quint16 count);

    int size() const { return 2 + 12 * m_count + 4; }
    QByteArray bytes(quint32 next) const;
    // Header, this directory at offset 8 and `tail` right after it.
    QByteArray block(quint32 next = 0, const QByteArray& tail = QByteArray()) const;
    quint32 tailOffset() const { return quint32(8 + size()); }

    template <typename Int>
    QByteArray number(Int value) const
    {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setByteOrder(m_order);
        stream << value;
        return bytes;
    }

private:
    QDataStream::ByteOrder m_order;
    QByteArray m_entries;
    int m_count = 0;
    int m_declared = -1;
};

QByteArray app1(const QByteArray& payload);
QByteArray exifApp1(const QByteArray& block);
// The JPEG with the segment placed right after its start marker.
QByteArray withSegment(const QByteArray& jpeg, const QByteArray& segment);
QByteArray orientedJpeg(const QImage& image, QDataStream::ByteOrder order, quint16 orientation);

// The picture file with the size in its header replaced; the pixel data stay as they are.
// A JPEG's frame header (SOF0) or a PNG's IHDR chunk, its checksum made anew.
QByteArray declaringSize(const QByteArray& file, const QSize& size);

bool writeFile(const QString& path, const QByteArray& bytes);

// While it lives, no file of this process grows past `bytes`, as on a full disk: a write
// beyond fails instead of raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    bool isSet() const { return m_set; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

} // namespace PhotoFixtures
