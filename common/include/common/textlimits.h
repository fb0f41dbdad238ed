#pragma once

#include <cstddef>

namespace common {

// The longest text the program and voxtrial-cli hand the engine: far more than a book, and
// little enough that speaking it, with the engine's own copies, stays within a few hundred
// megabytes. A longer text is refused before anything is read past this length.
inline constexpr std::size_t kMaxTextBytes = std::size_t{32} * 1024 * 1024;

}  // namespace common
