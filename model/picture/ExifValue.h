#pragma once

#include <QByteArray>
#include <QExplicitlySharedDataPointer>
#include <QPair>
#include <QSharedData>
#include <QString>
#include <QVector>

#include <utility>

// The data of one TIFF entry: its type and count; subclasses hold the items.
class QExifValuePrivate : public QSharedData
{
public:
    QExifValuePrivate(quint16 type, quint32 count) : type(type), count(count) {}
    virtual ~QExifValuePrivate();

    const quint16 type;
    const quint32 count;
};

template <quint16 Type, typename Data>
class QExifTypedValuePrivate : public QExifValuePrivate
{
public:
    QExifTypedValuePrivate(quint32 count, Data data)
        : QExifValuePrivate(Type, count), data(std::move(data)) {}

    const Data data;
};

using QExifByteValuePrivate = QExifTypedValuePrivate<1, QByteArray>;
using QExifAsciiValuePrivate = QExifTypedValuePrivate<2, QString>;
using QExifShortValuePrivate = QExifTypedValuePrivate<3, QVector<quint16>>;
using QExifLongValuePrivate = QExifTypedValuePrivate<4, QVector<quint32>>;
using QExifRationalValuePrivate = QExifTypedValuePrivate<5, QVector<QPair<quint32, quint32>>>;
using QExifUndefinedValuePrivate = QExifTypedValuePrivate<7, QByteArray>;
using QExifSignedLongValuePrivate = QExifTypedValuePrivate<9, QVector<qint32>>;
using QExifSignedRationalValuePrivate = QExifTypedValuePrivate<10, QVector<QPair<qint32, qint32>>>;

// Handle to a shared EXIF value; the default handle is the null value.
class ExifValue
{
public:
    enum Type : quint16 {
        Byte = 1,
        Ascii = 2,
        Short = 3,
        Long = 4,
        Rational = 5,
        Undefined = 7,
        SignedLong = 9,
        SignedRational = 10,
    };

    ExifValue();
    explicit ExifValue(QExifValuePrivate* value);

    bool isNull() const;
    quint16 type() const { return d->type; }
    quint32 count() const { return d->count; }

    // The single item of a BYTE or SHORT value; 0 otherwise.
    quint16 toShort() const;
    // The single item of a BYTE, SHORT, LONG or SLONG value; 0 otherwise.
    quint32 toLong() const;

private:
    template <typename Value>
    auto firstItem() const;

    QExplicitlySharedDataPointer<QExifValuePrivate> d;
};
