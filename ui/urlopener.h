#pragma once

// How Qiv hands an address to the desktop (the browser, the mail program):
// one function, so that tests can stand in for the desktop.

#include <QDesktopServices>
#include <QUrl>
#include <functional>

// Whether something took the address.
using UrlOpener = std::function<bool(const QUrl &)>;

inline UrlOpener desktopUrlOpener()
{
    return [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}
