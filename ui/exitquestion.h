#pragma once

// The question both the start-up window and the main window ask when they are
// closed. On Yes the whole program ends at once: no other window is asked and
// no other window's closing steps run, so nothing more reaches the server.

#include <functional>

class Dialogs;
class QWidget;

namespace ExitQuestion {

// What ends the program. Windows hold one so tests can observe it instead of
// ending the test process.
using EndProgram = std::function<void()>;

// Leaves the application's event loop; main() then returns.
EndProgram endApplication();

// Asks "Are you sure you want to exit?"; on Yes runs endProgram. True on Yes.
bool ask(Dialogs &dialogs, QWidget *parent, const EndProgram &endProgram);

} // namespace ExitQuestion
