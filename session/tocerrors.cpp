#include "tocerrors.h"

#include "tocfields.h"
#include "tocprotocol.h"

namespace TocErrors {

namespace {
QByteArray chatJoinFailure(QByteArrayView room, QByteArrayView subCode)
{
    QByteArray reason;
    if (subCode == "-1")
        reason = "Possible Reset";
    else if (subCode == "24")
        reason = "Chat Full";
    else if (subCode == "48")
        reason = "Rated";
    else if (subCode == "74")
        reason = "Ejected";
    else
        reason = "Unknown error";
    return "Could not join chat '" + room.toByteArray() + "': " + reason;
}
} // namespace

std::optional<TocError> decode(QByteArrayView payload)
{
    QList<QByteArrayView> fields = TocFields::split(payload, 3);
    if (fields.size() < 2)
        return std::nullopt;
    const QByteArrayView codeText = fields[1];
    const std::optional<qint16> code = TocFields::toInteger(codeText);
    if (!code)
        return std::nullopt;
    // Known codes are matched as the server wrote them, not by their value: a
    // code spelled another way ("0980") is not one the table knows, and is
    // reported with its own digits rather than taken for a known refusal.
    // Chat failures carry the room name and then a sub-code after another colon.
    if (codeText == "951")
        fields = TocFields::split(payload, 4);

    auto argument = [&](int index) -> std::optional<QByteArrayView> {
        if (fields.size() <= index)
            return std::nullopt;
        return fields[index];
    };

    TocError error{*code, {}};
    if (codeText == "901" || codeText == "902" || codeText == "951" || codeText == "989") {
        const auto arg = argument(2);
        if (!arg)
            return std::nullopt;
        if (codeText == "901") {
            error.text = arg->toByteArray() + " is not available";
        } else if (codeText == "902") {
            error.text = "Warning of " + arg->toByteArray() + " is not currently available";
        } else if (codeText == "951") {
            const auto subCode = argument(3);
            if (!subCode)
                return std::nullopt;
            error.text = chatJoinFailure(*arg, *subCode);
        } else if (*arg == "7") {
            error.text = "The screenname or password you entered is not valid";
        } else if (*arg == "17") {
            error.text = "Sign on Blocked";
        } else {
            error.text = "Unknown error code 989, sub error: " + arg->toByteArray();
        }
    } else if (codeText == "903") {
        error.text = "A message has been dropped, you are exceeding the server speed limit";
    } else if (codeText == "911") {
        error.text = "Error validating input";
    } else if (codeText == "913") {
        // Open OSCAR Server's answer to anything that failed inside it, a
        // sign-on without a password among them; its text adds nothing.
        error.text = "The server ran into an internal error and could not complete the request; "
                     "try again in a moment";
    } else if (codeText == "980") {
        error.text = "Invalid account or password";
    } else if (codeText == "983") {
        error.text = "You are attempting to sign on again too soon";
    } else {
        error.text = "Error code: " + codeText.toByteArray();
    }
    return error;
}

QByteArray signOnRefusal(const TocError &error)
{
    if (error.code == TocProtocol::BadPassword)
        return "Invalid account or password, or this screen name is signed on in too many places already";
    return error.text;
}

QByteArray unknownChannel(quint8 frameType) { return "Unknown Channel Detected: " + QByteArray(1, char(frameType)); }

} // namespace TocErrors
