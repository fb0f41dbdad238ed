#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace context {
struct AppState;
}

namespace dictionaries {

// The lowest free slot of the dictionary table, or nothing when all are used.
std::optional<int> firstFreeSlot(const context::AppState& state);
// Records a loaded dictionary in `slot` for the current language.
void occupySlot(context::AppState& state, int slot, const std::string& path, int32_t handle);
void freeSlot(context::AppState& state, int slot);
// Forgets every loaded dictionary; the engine is not asked to unload them.
void emptyDictionaryTable(context::AppState& state);

}  // namespace dictionaries
