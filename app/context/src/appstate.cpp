#include "context/appstate.h"

#include <utility>

namespace context {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kLanguageSlots;
}

std::size_t columnIndex(LanguageColumn column) {
    return static_cast<std::size_t>(column);
}

}  // namespace

const std::string& LanguageTable::text(int slot, LanguageColumn column) const {
    static const std::string empty;
    if (!validSlot(slot)) {
        return empty;
    }
    return m_texts[static_cast<std::size_t>(slot)][columnIndex(column)];
}

void LanguageTable::setText(int slot, LanguageColumn column, std::string value) {
    if (validSlot(slot)) {
        m_texts[static_cast<std::size_t>(slot)][columnIndex(column)] = std::move(value);
    }
}

void LanguageTable::clear() {
    for (auto& row : m_texts) {
        for (auto& text : row) {
            text.clear();
        }
    }
}

}  // namespace context
