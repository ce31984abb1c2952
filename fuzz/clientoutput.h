#pragma once

// What the client writes must stay a well-formed stream whatever the server
// sent: preambles, then frames of the types the client sends, numbered one
// after another, data frames NUL-terminated and within the TOC line limit.

#include <QByteArrayView>

void checkClientOutput(QByteArrayView written);
