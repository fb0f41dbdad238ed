#pragma once

#include <cstdint>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace shell {

// Commands whose handlers belong to the program's later subsystems (speech mode, sound files,
// dialogs, input hooks). The window procedure already routes each of them here by name; they
// do nothing yet.

void onSystemMode(context::ProgramContext& program, QWidget* window);
void onAbout(context::ProgramContext& program, QWidget* window);
void onAboutEngine(context::ProgramContext& program, QWidget* window);
void onSetAccel(context::ProgramContext& program, QWidget* window);
void onGenerateFile(context::ProgramContext& program, QWidget* window, int32_t format);

// Generates the sound file the generation dialog asked for; returns its status.
int32_t onGeneratePcm(context::ProgramContext& program);
// Switches the window-switch hook on or off.
void onSetWindowSwitchHook(context::ProgramContext& program, bool on);

}  // namespace shell
