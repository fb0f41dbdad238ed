#pragma once

namespace platform {

// Whether the Control key is held down now.
bool isControlKeyDown();
// Marks the Control key as released in the program's keyboard state (after a faked or
// interrupted Control+key sequence), as far as the window system allows.
void releaseControlKey();

}  // namespace platform
