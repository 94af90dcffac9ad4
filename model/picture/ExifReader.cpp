#include "model/picture/ExifReader.h"

#include <QFile>
#include <QMap>
#include <QtEndian>

namespace {

using ExifTable = QMap<quint16, ExifValue>;

enum Tag : quint16 {
    ThumbnailOffset = 513,
    ThumbnailLength = 514,
    ExifDirectory = 34665,
    GpsDirectory = 34853,
    InteroperabilityDirectory = 40965,
};

constexpr int EntrySize = 12;

// The TIFF structure of an EXIF block; every read is checked against its end.
class TiffBlock
{
public:
    explicit TiffBlock(const QByteArray& bytes) : m_bytes(bytes) {}

    bool littleEndian() const { return m_littleEndian; }

    bool setByteOrder()
    {
        const QByteArray mark = m_bytes.left(2);
        m_littleEndian = mark == "II";
        return m_littleEndian || mark == "MM";
    }

    bool contains(quint64 offset, quint64 length) const
    {
        const quint64 size = quint64(m_bytes.size());
        return offset <= size && length <= size - offset;
    }

    quint64 bytesFrom(quint64 offset) const
    {
        return contains(offset, 0) ? quint64(m_bytes.size()) - offset : 0;
    }

    // The caller checks the range first.
    template <typename Int>
    Int number(quint64 offset) const
    {
        const uchar* p = reinterpret_cast<const uchar*>(m_bytes.constData()) + offset;
        return m_littleEndian ? qFromLittleEndian<Int>(p) : qFromBigEndian<Int>(p);
    }

    QByteArray bytes(quint64 offset, quint64 length) const
    {
        return m_bytes.mid(int(offset), int(length));
    }

    template <typename Int>
    QVector<Int> numbers(quint64 offset, quint32 count) const
    {
        QVector<Int> items(static_cast<int>(count));
        for (quint32 i = 0; i < count; ++i)
            items[int(i)] = number<Int>(offset + i * sizeof(Int));
        return items;
    }

    template <typename Int>
    QVector<QPair<Int, Int>> fractions(quint64 offset, quint32 count) const
    {
        QVector<QPair<Int, Int>> items(static_cast<int>(count));
        for (quint32 i = 0; i < count; ++i) {
            const quint64 at = offset + i * 2 * sizeof(Int);
            items[int(i)] = qMakePair(number<Int>(at), number<Int>(at + sizeof(Int)));
        }
        return items;
    }

private:
    QByteArray m_bytes;
    bool m_littleEndian = false;
};

int itemSize(quint16 type)
{
    switch (type) {
    case ExifValue::Byte:
    case ExifValue::Ascii:
    case ExifValue::Undefined:
        return 1;
    case ExifValue::Short:
        return 2;
    case ExifValue::Long:
    case ExifValue::SignedLong:
        return 4;
    case ExifValue::Rational:
    case ExifValue::SignedRational:
        return 8;
    default:
        return 0;
    }
}

QExifValuePrivate* makeValue(const TiffBlock& block, quint16 type, quint32 count, quint64 at)
{
    switch (type) {
    case ExifValue::Byte:
        return new QExifByteValuePrivate(count, block.bytes(at, count));
    case ExifValue::Ascii:
        return new QExifAsciiValuePrivate(count, QString::fromLatin1(block.bytes(at, count)));
    case ExifValue::Short:
        return new QExifShortValuePrivate(count, block.numbers<quint16>(at, count));
    case ExifValue::Long:
        return new QExifLongValuePrivate(count, block.numbers<quint32>(at, count));
    case ExifValue::Rational:
        return new QExifRationalValuePrivate(count, block.fractions<quint32>(at, count));
    case ExifValue::Undefined:
        return new QExifUndefinedValuePrivate(count, block.bytes(at, count));
    case ExifValue::SignedLong:
        return new QExifSignedLongValuePrivate(count, block.numbers<qint32>(at, count));
    case ExifValue::SignedRational:
        return new QExifSignedRationalValuePrivate(count, block.fractions<qint32>(at, count));
    default:
        return nullptr;
    }
}

// The value of the entry at `entry`; null for an unknown type or data outside the block.
ExifValue readValue(const TiffBlock& block, quint64 entry)
{
    const quint16 type = block.number<quint16>(entry + 2);
    const quint32 count = block.number<quint32>(entry + 4);
    const int size = itemSize(type);
    if (size == 0)
        return ExifValue();
    const quint64 length = quint64(count) * quint64(size);
    const bool inPlace = size < 8 && length <= 4;
    const quint64 at = inPlace ? entry + 8 : block.number<quint32>(entry + 8);
    if (!block.contains(at, length))
        return ExifValue();
    return ExifValue(makeValue(block, type, count, at));
}

// Reads the directory at `offset` into `table`, as many entries as the block holds.
// Returns the offset of the next directory, 0 when there is none or it lies outside.
quint32 readDirectory(const TiffBlock& block, quint64 offset, ExifTable* table)
{
    if (!block.contains(offset, 2))
        return 0;
    const quint64 first = offset + 2;
    const quint64 declared = block.number<quint16>(offset);
    const quint64 count = qMin(declared, block.bytesFrom(first) / EntrySize);
    for (quint64 i = 0; i < count; ++i) {
        const quint64 entry = first + i * EntrySize;
        const ExifValue value = readValue(block, entry);
        if (!value.isNull())
            table->insert(block.number<quint16>(entry), value);
    }
    const quint64 next = first + count * EntrySize;
    if (count < declared || !block.contains(next, 4))
        return 0;
    return block.number<quint32>(next);
}

bool isSingleLong(const ExifValue& value)
{
    return value.type() == ExifValue::Long && value.count() == 1;
}

quint16 readBigEndian16(QIODevice* device, bool* ok)
{
    const QByteArray bytes = device->read(2);
    *ok = bytes.size() == 2;
    return *ok ? qFromBigEndian<quint16>(bytes.constData()) : 0;
}

// Walks the JPEG segments up to the APP1 marker; false at the image data, the end or a bad segment.
bool skipToApp1(QIODevice* device)
{
    for (;;) {
        const QByteArray marker = device->read(2);
        if (marker.size() < 2 || quint8(marker.at(0)) != 0xFF)
            return false;
        const quint8 code = quint8(marker.at(1));
        if (code == 0xE1)
            return true;
        if (code == 0xDA || code == 0xD9) // start of scan, end of image
            return false;
        bool ok = false;
        const quint16 length = readBigEndian16(device, &ok);
        if (!ok || length < 2 || device->skip(length - 2) != length - 2)
            return false;
    }
}

// The EXIF block (from the TIFF header on) of a JPEG; empty when there is none.
QByteArray readExifBlock(QIODevice* device)
{
    if (device->read(2) != QByteArray("\xFF\xD8", 2) || !skipToApp1(device))
        return QByteArray();
    bool ok = false;
    const quint16 size = readBigEndian16(device, &ok);
    if (!ok || size < 8 || device->read(4) != "Exif" || device->read(2).size() != 2)
        return QByteArray();
    const QByteArray block = device->read(size - 8);
    // A file that ends with its EXIF block is broken.
    if (device->read(20).isEmpty())
        return QByteArray();
    return block;
}

} // namespace

class ExifReaderPrivate : public QSharedData
{
public:
    bool parse(const QByteArray& bytes);

    bool littleEndian = false;
    ExifTable imageTable;
    ExifTable exifTable;
    ExifTable gpsTable;
    ExifTable thumbnailTable;
    QByteArray thumbnail;
    bool loaded = false;

private:
    void readSubDirectory(const TiffBlock& block, quint16 tag, ExifTable* table);
    void readThumbnail(const TiffBlock& block);
};

bool ExifReaderPrivate::parse(const QByteArray& bytes)
{
    TiffBlock block(bytes);
    if (!block.contains(0, 8) || !block.setByteOrder() || block.number<quint16>(2) != 42)
        return false;
    littleEndian = block.littleEndian();
    const quint32 next = readDirectory(block, block.number<quint32>(4), &imageTable);
    readSubDirectory(block, ExifDirectory, &exifTable);
    readSubDirectory(block, GpsDirectory, &gpsTable);
    exifTable.remove(InteroperabilityDirectory);
    if (next != 0) {
        readDirectory(block, next, &thumbnailTable);
        readThumbnail(block);
    }
    return true;
}

void ExifReaderPrivate::readSubDirectory(const TiffBlock& block, quint16 tag, ExifTable* table)
{
    const ExifValue pointer = imageTable.take(tag);
    if (isSingleLong(pointer))
        readDirectory(block, pointer.toLong(), table);
}

void ExifReaderPrivate::readThumbnail(const TiffBlock& block)
{
    const ExifValue offset = thumbnailTable.value(ThumbnailOffset);
    const ExifValue length = thumbnailTable.value(ThumbnailLength);
    if (isSingleLong(offset) && isSingleLong(length)
        && block.contains(offset.toLong(), length.toLong()))
        thumbnail = block.bytes(offset.toLong(), length.toLong());
}

ExifReader::ExifReader() : d(new ExifReaderPrivate) {}

ExifReader::ExifReader(const QString& path) : ExifReader()
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        loadFromJpeg(&file);
}

ExifReader::ExifReader(const ExifReader& other) = default;
ExifReader& ExifReader::operator=(const ExifReader& other) = default;
ExifReader::~ExifReader() = default;

bool ExifReader::loadFromJpeg(QIODevice* device)
{
    d = new ExifReaderPrivate;
    if (!device || !device->isReadable())
        return false;
    const QByteArray block = readExifBlock(device);
    if (block.isEmpty())
        return false;
    d->loaded = d->parse(block);
    return d->loaded;
}

ExifValue ExifReader::value(int tag) const
{
    if (tag < 0 || tag > 0xFFFF)
        return ExifValue();
    return d->imageTable.value(quint16(tag));
}
