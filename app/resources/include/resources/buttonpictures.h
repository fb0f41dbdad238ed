#pragma once

#include <QPixmap>

namespace resources {

// Picture resources of the three image buttons, 48 by 25 pixels each.
enum ButtonPicture {
    kSpeakActive = 118,
    kStopActive = 119,
    kPauseActive = 120,
    kSpeakInactive = 123,
    kStopInactive = 124,
    kPauseInactive = 125,
    kResume = 128,
};

inline constexpr int kButtonPictureWidth = 48;
inline constexpr int kButtonPictureHeight = 25;

// The picture with the given resource number: a raised grey face with a solid black symbol
// (active), an embossed grey outline of it (inactive), or the pause bars on a sunken face
// (Resume). An unknown number gives a null pixmap.
QPixmap loadButtonPicture(int resourceId);

// Picture resources of the two move buttons of the Unload User Dictionaries dialog, 85 by 25
// pixels each: the word and its arrow in grey (nothing to move) or in black (active).
enum MoveButtonPicture {
    kLoadInactive = 172,
    kUnloadInactive = 173,
    kLoadActive = 177,
    kUnloadActive = 178,
};

inline constexpr int kMovePictureWidth = 85;
inline constexpr int kMovePictureHeight = 25;

// The move button picture with the given resource number: "Load" with an up arrow or "Unload"
// with a down arrow on a raised grey face. An unknown number gives a null pixmap.
QPixmap loadMoveButtonPicture(int resourceId);

}  // namespace resources
