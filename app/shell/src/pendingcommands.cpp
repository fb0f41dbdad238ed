#include "shell/pendingcommands.h"

namespace shell {

void onLoadDict(context::ProgramContext&, QWidget*) {}
void onUnloadDict(context::ProgramContext&, QWidget*) {}
int onAbout(context::ProgramContext&, QWidget*) {
    return 0;
}
void onSetWindowSwitchHook(context::ProgramContext&, bool) {}

}  // namespace shell
