#pragma once

#include <cstdint>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace shell {

// Commands whose handlers belong to the program's later subsystems (speech mode, dialogs,
// input hooks). The window procedure already routes each of them here by name; they do nothing
// yet.

void onSystemMode(context::ProgramContext& program, QWidget* window);
void onAbout(context::ProgramContext& program, QWidget* window);
void onAboutEngine(context::ProgramContext& program, QWidget* window);
void onSetAccel(context::ProgramContext& program, QWidget* window);
// Switches the window-switch hook on or off.
void onSetWindowSwitchHook(context::ProgramContext& program, bool on);

}  // namespace shell
