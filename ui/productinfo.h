#pragma once

// Facts about the product that several windows show or send.

#include <QString>

namespace ProductInfo {

// The program's name: the title of its boxes and the start of its captions.
inline const QString ProgramTitle = QStringLiteral("Qiv");
// A window's caption: "Qiv - " and what the window shows.
inline QString caption(const QString &what) { return ProgramTitle + QStringLiteral(" - ") + what; }

// The product's home page: the default profile, the profile footer and the
// advertising away message point people to it.
inline const QString WebAddress = QStringLiteral("http://qiv.example.org/");

// The update notice the start-up window fetches; the path and query are fixed.
inline const QString DefaultUpdateUrl = QStringLiteral("http://qiv.example.org/glenvo/qiv/update.php?v=1.0.0");

} // namespace ProductInfo
