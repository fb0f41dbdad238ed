#pragma once

#include <cstdint>
#include <string>

namespace binding {

// The message of one of the engine's status codes; nullptr for a code that has none (0 among
// them).
const char* statusText(int32_t code);

// The message of `code`, or "Unknown error [ code ] found!" for a code without one.
std::string statusMessage(int32_t code);

}  // namespace binding
