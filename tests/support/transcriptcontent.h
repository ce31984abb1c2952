#pragma once

// What a transcript view holds besides plain text runs. Remote text must never
// become markup there; the only rich content allowed is a web or mail address
// linked to exactly the text it shows.

#include <QList>
#include <QString>
#include <utility>

class QTextEdit;

// Whether anything in the transcript became an image, or a link other than
// an http, https or mailto address whose shown text is that address.
bool hasRichContent(const QTextEdit *view);

// Every link in the transcript, in order: (the text shown, the address).
QList<std::pair<QString, QString>> linksOf(const QTextEdit *view);
