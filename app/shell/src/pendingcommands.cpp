#include "shell/pendingcommands.h"

namespace shell {

void onSpeak(context::ProgramContext&, QWidget*) {}
void onAboutSpeak(context::ProgramContext&, QWidget*) {}
void onPause(context::ProgramContext&, QWidget*) {}
void onStop(context::ProgramContext&, QWidget*) {}
void onDemo(context::ProgramContext&, QWidget*) {}
void onSourceFile(context::ProgramContext&, QWidget*) {}
void onSourceClipboard(context::ProgramContext&, QWidget*) {}
void onSourceKeyboard(context::ProgramContext&, QWidget*) {}

void onLoadDict(context::ProgramContext&, QWidget*) {}
void onUnloadDict(context::ProgramContext&, QWidget*) {}
void onSystemMode(context::ProgramContext&, QWidget*) {}
void onAbout(context::ProgramContext&, QWidget*) {}
void onAboutEngine(context::ProgramContext&, QWidget*) {}
void onSetAccel(context::ProgramContext&, QWidget*) {}
void onGenerateFile(context::ProgramContext&, QWidget*, int32_t) {}

int32_t onGeneratePcm(context::ProgramContext&) {
    return 0;
}
void onEchoSpokenText(context::ProgramContext&, int32_t) {}
void onSetWindowSwitchHook(context::ProgramContext&, bool) {}

}  // namespace shell
