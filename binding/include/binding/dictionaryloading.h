#pragma once

#include <cstdint>
#include <string>

#include "binding/engineops.h"

namespace binding {

// Loads a user dictionary into an instance: a binary one directly; a text one, which the engine
// refuses as such, compiled into a temporary binary one first (`dos`: its text is in code page
// 437, else Windows-1252). Returns an engine status and, on success, the dictionary's handle.
int32_t loadDictionary(const EngineOps& ops, int32_t instance, const std::string& path, bool dos,
                       int32_t& handle);

}  // namespace binding
