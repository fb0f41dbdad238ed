#pragma once

#include <cstdint>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace shell {

// Commands and notifications whose handlers belong to the program's later subsystems (speaking,
// text sources, dictionaries, speech mode, sound files, dialogs, input hooks). The window
// procedure already routes each of them here by name; they do nothing yet.

void onSpeak(context::ProgramContext& program, QWidget* window);
void onAboutSpeak(context::ProgramContext& program, QWidget* window);
void onPause(context::ProgramContext& program, QWidget* window);
void onStop(context::ProgramContext& program, QWidget* window);
void onDemo(context::ProgramContext& program, QWidget* window);
void onSourceFile(context::ProgramContext& program, QWidget* window);
void onSourceClipboard(context::ProgramContext& program, QWidget* window);
void onSourceKeyboard(context::ProgramContext& program, QWidget* window);

void onLoadDict(context::ProgramContext& program, QWidget* window);
void onUnloadDict(context::ProgramContext& program, QWidget* window);
void onSystemMode(context::ProgramContext& program, QWidget* window);
void onAbout(context::ProgramContext& program, QWidget* window);
void onAboutEngine(context::ProgramContext& program, QWidget* window);
void onSetAccel(context::ProgramContext& program, QWidget* window);
void onGenerateFile(context::ProgramContext& program, QWidget* window, int32_t format);

// Generates the sound file the generation dialog asked for; returns its status.
int32_t onGeneratePcm(context::ProgramContext& program);
// Shows the next piece of the text being spoken in the input window.
void onEchoSpokenText(context::ProgramContext& program, int32_t length);
// Switches the window-switch hook on or off.
void onSetWindowSwitchHook(context::ProgramContext& program, bool on);

}  // namespace shell
