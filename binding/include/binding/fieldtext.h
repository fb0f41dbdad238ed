#pragma once

#include <cstddef>
#include <string>

namespace binding {

// The text of one of the engine's fixed-size Windows-1252 fields (a language name, a version),
// up to its first NUL or its end, in UTF-8.
std::string fieldText(const char* field, std::size_t size);

}  // namespace binding
