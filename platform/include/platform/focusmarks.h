#pragma once

namespace platform {

// Makes the application's style show which control has the keyboard focus on every control,
// also where the plain style shows nothing: the default push button, flat buttons and the
// frames of lists, tables and scroll areas get a focus frame. Call once a QApplication exists;
// calling again changes nothing.
void showFocusOnEveryControl();

}  // namespace platform
