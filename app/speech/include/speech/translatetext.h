#pragma once

#include <cstddef>

namespace speech {

// Translates the first `length` bytes of `source` for the engine into `target`, byte for byte
// at the same positions (so positions the engine reports apply to the source as well): an
// escape, '~' or '*' followed by 'D' or 'd' becomes two blanks, any other escape, '~' or '*'
// becomes the escape character (27), and in ANSI text the ligatures 140 and 156 become 'e'.
// `source` must have a readable byte after the first `length` (its terminating zero).
void TranslateText(const char* source, char* target, std::size_t length, bool ansi);

}  // namespace speech
