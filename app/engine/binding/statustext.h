#pragma once

#include <cstdint>

namespace engine {

// The message of a status code: the engine's negative codes and the program's own positive
// ones. Returns nullptr for a code that has no message (0 among them); callers show those
// with the text "Unknown error [ %d ] found!".
const char* statusText(int32_t code);

}  // namespace engine
