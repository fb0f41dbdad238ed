#include "context/appstate.h"

#include <ostream>
#include <utility>

namespace context {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kLanguageSlots;
}

std::size_t columnIndex(LanguageColumn column) {
    return static_cast<std::size_t>(column);
}

template <typename Value>
void writeValue(std::ostream& out, const Value& value) {
    out << value;
}

void writeValue(std::ostream& out, const std::string& value) {
    out << '"' << value << '"';
}

template <typename Values>
void writeSlots(std::ostream& out, const char* name, const Values& values) {
    out << ' ' << name << '{';
    for (std::size_t slot = 0; slot < values.size(); ++slot) {
        out << (slot == 0 ? "" : ",");
        writeValue(out, values[slot]);
    }
    out << '}';
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const AppState& state) {
    out << "AppState{languageCount=" << state.languageCount;
    writeSlots(out, "available", state.available);
    writeSlots(out, "languageNumber", state.languageNumber);
    writeSlots(out, "languageId", state.languageId);
    writeSlots(out, "Volume", state.Volume);
    writeSlots(out, "Pitch", state.Pitch);
    writeSlots(out, "Rate", state.Rate);
    writeSlots(out, "Speaker", state.Speaker);
    out << " Language=" << state.Language << " PlayMode=" << state.PlayMode
        << " Frequency=" << state.Frequency << " TextOut=" << state.TextOut
        << " FileType=" << state.FileType << " DictFileType=" << state.DictFileType
        << " textFilePath=\"" << state.textFilePath << "\" languageHelpPath=\""
        << state.languageHelpPath << '"';
    writeSlots(out, "DictPath", state.DictPath);
    writeSlots(out, "DictLanguage", state.DictLanguage);
    writeSlots(out, "DictHandle", state.DictHandle);
    return out << '}';
}

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
