#include "shell/pendingcommands.h"

namespace shell {

int onAbout(context::ProgramContext&, QWidget*) {
    return 0;
}
void onSetWindowSwitchHook(context::ProgramContext&, bool) {}

}  // namespace shell
