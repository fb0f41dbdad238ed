#pragma once

#include <QIcon>

namespace resources {

// The program's icon ("STANDARD"): a speech balloon with sound waves.
QIcon programIcon();

}  // namespace resources
