#include "tocfields.h"

#include <limits>

namespace TocFields {

QList<QByteArrayView> split(QByteArrayView payload, int pieces)
{
    QList<QByteArrayView> fields;
    // One allocation for the fields of a message cut into a fixed number of
    // pieces, not one per growth.
    if (pieces != AllPieces)
        fields.reserve(pieces);
    qsizetype start = 0;
    while (pieces == AllPieces || fields.size() < pieces - 1) {
        const qsizetype colon = payload.indexOf(':', start);
        if (colon < 0)
            break;
        fields.append(payload.sliced(start, colon - start));
        start = colon + 1;
    }
    fields.append(payload.sliced(start));
    return fields;
}

namespace {
template <typename T> std::optional<T> parseDecimal(QByteArrayView field)
{
    if (field.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<T>::max())
            return std::nullopt;
    }
    return T(value);
}
} // namespace

std::optional<qint32> toLong(QByteArrayView field) { return parseDecimal<qint32>(field); }
std::optional<qint16> toInteger(QByteArrayView field) { return parseDecimal<qint16>(field); }

QByteArrayView trimSpaces(QByteArrayView text)
{
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    return text;
}

} // namespace TocFields
