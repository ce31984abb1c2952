#pragma once

// Escape in a window does what the window's own way out does (its close,
// Cancel or OK), so a keyboard user leaves every window the same way.

#include <functional>

class QWidget;

namespace EscapeKey {

// Escape anywhere in window's focus chain, while window is the active window,
// runs leave. The shortcut belongs to the window and goes with it.
void leavesBy(QWidget *window, std::function<void()> leave);

} // namespace EscapeKey
