#pragma once

#include <QPoint>

class QWidget;

namespace platform {

// Where the program's top-level windows go: wholly within the available area of the screen
// that shows their owner, made smaller where they would not fit.

// Moves `window` to `wanted` (its top-left corner), or by as little as it takes from there to
// lie on the screen.
void placeOnScreen(QWidget& window, QPoint wanted, const QWidget* owner);

// Places `window` beside `owner`: to its right where there is room on the screen, else to its
// left, else where it covers the owner least, always on the screen.
void placeBeside(QWidget& window, const QWidget& owner);

// The width a top-level window needs for the window manager to show its whole caption beside
// the frame's icon and buttons.
int widthForCaption(const QWidget& window);

}  // namespace platform
