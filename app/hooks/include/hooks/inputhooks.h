#pragma once

class QWidget;

namespace context {
struct ProgramContext;
}

namespace hooks {

// The program's two input hooks, application-wide event filters that never consume an event.
//
// The keyboard hook (installed by the About box while it is open) posts, to the hook target
// window, the command of a released function key:
//   F1 116 (118 with Control), F2 114, F3 100, F4 only with Alt 101, F5 250, F6 251, F7 135,
//   F8 137, F9 117, F10 102 (103 with Control),
// and, when End or Insert goes down with Control and Alt held, UM_CREDITSSUPPORT or
// UM_CREDITSPHOTO. Only keystrokes that begin while it is installed count, so the release of
// the key that opened the About box is no command in it; while the hooks are suspended it
// posts nothing.
//
// The window-switch hook (installed while the mini panel stands in for the main window) copies
// the selection of the program's focused widget to the clipboard whenever one of the
// program's windows is about to be activated.
//
// Installing an installed hook changes nothing, and so does removing one that is not
// installed. A hook that cannot be installed is reported in a message box without owner and
// stays absent; the next request tries again.
void SetKeyboardHook(context::ProgramContext& program, bool install);
void SetWindowSwitchHook(context::ProgramContext& program, bool install);
void SetHookTargetWindow(context::ProgramContext& program, QWidget* window);
void SetHooksSuspended(context::ProgramContext& program, bool suspended);

}  // namespace hooks
