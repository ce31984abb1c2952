#include "screenname.h"

#include <array>

namespace ScreenName {

QByteArray NormalizeName(QByteArrayView name)
{
    QByteArray normalized;
    normalized.reserve(name.size());
    for (char c : name) {
        if (c == ' ')
            continue;
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        normalized.append(c);
    }
    return normalized;
}

QByteArray RoastPassword(QByteArrayView password)
{
    // The roasting key published with the TOC protocol, kept as codes.
    static constexpr std::array<quint8, 7> keyCodes = {84, 105, 99, 47, 84, 111, 99};
    static constexpr char hexDigits[] = "0123456789abcdef";
    QByteArray roasted("0x");
    roasted.reserve(2 + 2 * password.size());
    for (qsizetype i = 0; i < password.size(); ++i) {
        const quint8 value = quint8(password[i]) ^ keyCodes[std::size_t(i % 7)];
        roasted.append(hexDigits[value >> 4]);
        roasted.append(hexDigits[value & 0x0F]);
    }
    return roasted;
}

} // namespace ScreenName
