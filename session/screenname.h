#pragma once

// The one place that decides when two spellings are the same screen name.

#include <QByteArray>
#include <QByteArrayView>

namespace ScreenName {

// Lower-cased with every space removed: the form sent on the wire and the key
// of buddies, conversations and chat members. Only ASCII letters change case,
// so UTF-8 sequences pass through intact.
QByteArray NormalizeName(QByteArrayView name);

inline bool sameName(QByteArrayView a, QByteArrayView b) { return NormalizeName(a) == NormalizeName(b); }

// The TOC password roasting: "0x" and two hex digits for each byte XOR "Tic/Toc".
QByteArray RoastPassword(QByteArrayView password);

} // namespace ScreenName
