#include "qivbot.h"

#include "session/htmltext.h"

namespace QivBot {

namespace {
// The sender's words without markup, so that a style prefix hides nothing.
QByteArray plainText(QByteArrayView message) { return HtmlText::removeTags(message).trimmed().toLower(); }
} // namespace

QByteArray replyTo(QByteArrayView sender, QByteArrayView message)
{
    const QByteArray text = plainText(message);
    if (text.contains("help"))
        return "Here to help, " + sender.toByteArray()
            + "! Send me anything and I answer, join the chat room \"lobby\" to find me there, "
              "or start a second Qiv to talk to yourself.";
    if (text.startsWith("hi") || text.startsWith("hello") || text.startsWith("hey"))
        return "Hello, " + sender.toByteArray() + "! Nice to meet you. Say \"help\" for some ideas.";
    return "Thanks for your message, " + sender.toByteArray()
        + "! I'm QivBot, the local network's friendly robot. Say \"help\" for some ideas.";
}

QByteArray greeting(QByteArrayView arrival) { return "Hello, " + arrival.toByteArray() + "! Welcome to the lobby."; }

} // namespace QivBot
