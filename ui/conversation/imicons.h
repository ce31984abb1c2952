#pragma once

// The pictures on the conversation window's buttons, drawn at run time so the
// program ships no image files and they stay sharp at any scale.

#include <QIcon>

namespace ImIcons {

QIcon send();  // a paper plane heading right
QIcon block(); // a no-entry sign
QIcon warn();  // a warning triangle

} // namespace ImIcons
