#pragma once

#include "model/picture/ExifValue.h"

#include <QSharedDataPointer>
#include <QString>

class QIODevice;
class ExifReaderPrivate;

// Reads the EXIF block of a JPEG file; every failure leaves the tables empty.
class ExifReader
{
public:
    static constexpr int OrientationTag = 274;

    ExifReader();
    explicit ExifReader(const QString& path);
    ExifReader(const ExifReader& other);
    ExifReader& operator=(const ExifReader& other);
    ~ExifReader();

    // True when an EXIF block was found and parsed; needs an open, readable device.
    bool loadFromJpeg(QIODevice* device);
    // The main image directory's value for the tag, or the null value.
    ExifValue value(int tag) const;

private:
    QSharedDataPointer<ExifReaderPrivate> d;
};
