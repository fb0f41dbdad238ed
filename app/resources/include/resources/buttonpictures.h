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

}  // namespace resources
