#pragma once

#include <QPixmap>

namespace resources {

// Picture resources of the group picture dialog, 320 by 195 pixels each.
enum CreditsPicture {
    kNamesPicture = 147,
    kGroupPhoto = 148,
};

inline constexpr int kCreditsPictureWidth = 320;
inline constexpr int kCreditsPictureHeight = 195;

// The picture with the given resource number: the group (148) is the speech pipeline from
// text to sound in colour, each stage named by its component; the list of names (147) names
// the parts of the program and what each one does, in black on white. An unknown number gives
// a null pixmap.
QPixmap loadCreditsPicture(int resourceId);

}  // namespace resources
