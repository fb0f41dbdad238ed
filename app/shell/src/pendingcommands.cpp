#include "shell/pendingcommands.h"

namespace shell {

void onSystemMode(context::ProgramContext&, QWidget*) {}
void onAbout(context::ProgramContext&, QWidget*) {}
void onAboutEngine(context::ProgramContext&, QWidget*) {}
void onSetAccel(context::ProgramContext&, QWidget*) {}
void onGenerateFile(context::ProgramContext&, QWidget*, int32_t) {}

int32_t onGeneratePcm(context::ProgramContext&) {
    return 0;
}
void onSetWindowSwitchHook(context::ProgramContext&, bool) {}

}  // namespace shell
