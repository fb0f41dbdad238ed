#pragma once

#include <cstdint>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace shell {

// Commands whose handlers belong to the program's later subsystems (dictionaries, speech mode,
// dialogs, input hooks). The window
// procedure already routes each of them here by name; they do nothing yet.

void onLoadDict(context::ProgramContext& program, QWidget* window);
void onUnloadDict(context::ProgramContext& program, QWidget* window);
int onAbout(context::ProgramContext& program, QWidget* window);
// Switches the window-switch hook on or off.
void onSetWindowSwitchHook(context::ProgramContext& program, bool on);

}  // namespace shell
