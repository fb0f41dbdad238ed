#pragma once

namespace platform {

// Whether the Control key is held down now, as the window system reports it.
bool isControlKeyDown();
// Marks the Control key as released for the program after a faked or interrupted Control+key
// sequence: the widget with the keyboard focus receives a Control key release. The window
// system's own key state (X11, Wayland, offscreen) belongs to the user's keyboard and is not
// changed.
void releaseControlKey();

}  // namespace platform
