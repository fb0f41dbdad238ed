#include "dictionaries/dictionarytable.h"

#include "context/appstate.h"

namespace dictionaries {
namespace {

constexpr int32_t kFreeSlot = -1;

std::size_t index(int slot) {
    return static_cast<std::size_t>(slot);
}

}  // namespace

std::optional<int> firstFreeSlot(const context::AppState& state) {
    for (int slot = 0; slot < context::kDictionarySlots; ++slot) {
        if (state.DictLanguage[index(slot)] == kFreeSlot)
            return slot;
    }
    return std::nullopt;
}

void occupySlot(context::AppState& state, int slot, const std::string& path, int32_t handle) {
    state.DictPath[index(slot)] = path;
    state.DictLanguage[index(slot)] = state.Language;
    state.DictHandle[index(slot)] = handle;
}

void freeSlot(context::AppState& state, int slot) {
    state.DictLanguage[index(slot)] = kFreeSlot;
    state.DictHandle[index(slot)] = 0;
    state.DictPath[index(slot)].clear();
}

void emptyDictionaryTable(context::AppState& state) {
    for (int slot = 0; slot < context::kDictionarySlots; ++slot)
        freeSlot(state, slot);
}

}  // namespace dictionaries
