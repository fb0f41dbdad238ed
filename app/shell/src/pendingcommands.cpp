#include "shell/pendingcommands.h"

namespace shell {

void onSystemMode(context::ProgramContext&, QWidget*) {}
void onAbout(context::ProgramContext&, QWidget*) {}
void onAboutEngine(context::ProgramContext&, QWidget*) {}
void onSetAccel(context::ProgramContext&, QWidget*) {}
void onSetWindowSwitchHook(context::ProgramContext&, bool) {}

}  // namespace shell
