#pragma once

// Server ERROR messages turned into the English sentences the user reads.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

struct TocError
{
    qint16 code = 0;
    QByteArray text;
    bool operator==(const TocError &) const = default;
};

namespace TocErrors {

// payload is the whole message, "ERROR:code:argument". Nothing when the code
// is not a number or a field that the sentence needs is missing.
std::optional<TocError> decode(QByteArrayView payload);

// The sentence for an error that refuses a sign-on. Open OSCAR Server answers
// a sign-on of a name already signed on in as many places as it allows (five)
// with the same 980 as a wrong password, so there the sentence names both.
// Any other error keeps the text decode() gave it.
QByteArray signOnRefusal(const TocError &error);

// The sentence for a frame of a type the protocol does not define.
QByteArray unknownChannel(quint8 frameType);

} // namespace TocErrors
