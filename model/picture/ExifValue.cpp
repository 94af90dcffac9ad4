#include "model/picture/ExifValue.h"

#include <type_traits>

QExifValuePrivate::~QExifValuePrivate() = default;

namespace {

const QExplicitlySharedDataPointer<QExifValuePrivate>& nullValue()
{
    static const QExplicitlySharedDataPointer<QExifValuePrivate> value(
        new QExifByteValuePrivate(0, QByteArray()));
    return value;
}

} // namespace

ExifValue::ExifValue() : d(nullValue()) {}

ExifValue::ExifValue(QExifValuePrivate* value) : d(value ? value : nullValue().data()) {}

bool ExifValue::isNull() const
{
    return d == nullValue();
}

template <typename Value>
auto ExifValue::firstItem() const
{
    const auto& data = static_cast<const Value&>(*d).data;
    using Item = std::decay_t<decltype(data.at(0))>;
    return data.isEmpty() ? Item() : data.at(0);
}

quint16 ExifValue::toShort() const
{
    if (d->count != 1)
        return 0;
    switch (d->type) {
    case Byte:
        return quint8(firstItem<QExifByteValuePrivate>());
    case Short:
        return firstItem<QExifShortValuePrivate>();
    default:
        return 0;
    }
}

quint32 ExifValue::toLong() const
{
    if (d->count != 1)
        return 0;
    switch (d->type) {
    case Long:
        return firstItem<QExifLongValuePrivate>();
    case SignedLong:
        return quint32(firstItem<QExifSignedLongValuePrivate>());
    default:
        return toShort();
    }
}
