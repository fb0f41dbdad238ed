#pragma once

#include <cstdint>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace shell {

// Commands whose handlers belong to the program's later subsystems (the About boxes, input
// hooks). The window procedure already routes each of them here by name; they do nothing yet.

int onAbout(context::ProgramContext& program, QWidget* window);
// Switches the window-switch hook on or off.
void onSetWindowSwitchHook(context::ProgramContext& program, bool on);

}  // namespace shell
