#include "engine/settings.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/profilefile.h"

namespace engine {

namespace {

constexpr std::string_view kLanguagesSection = "Languages";
constexpr std::string_view kDefaultsSection = "TTSdefault";
constexpr std::size_t kLanguagesValueLength = 199;

constexpr int32_t kDefaultLanguage = 1;
constexpr int32_t kDefaultFrequency = 10;
constexpr int32_t kDefaultDictFileType = 1;

std::string languageKey(int slot) {
    return "Language" + std::to_string(slot + 1);
}

// Section LanguageN and key LanguageN of `Languages` share the same spelling.
std::string languageSection(int slot) {
    return languageKey(slot);
}

int32_t positiveOr(int32_t value, int32_t replacement) {
    return value <= 0 ? replacement : value;
}

// A fixed-size, possibly unterminated text field of an engine record.
template <std::size_t N>
std::string recordText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// `Volume` is stored as an unsigned decimal, so a negative volume is written as a number above
// the largest signed value, which the integer reader clamps. Such a number reads back as the
// same 32-bit value.
int32_t readVolume(const platform::ProfileFile& settings, const std::string& section) {
    const int32_t volume = settings.readInt(section, "Volume", context::kDefaultVolume);
    if (volume != std::numeric_limits<int32_t>::max()) {
        return volume;
    }
    const std::string text = settings.readString(section, "Volume", "");
    uint32_t stored = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), stored);
    return result.ec == std::errc{} ? static_cast<int32_t>(stored) : volume;
}

// The parsed `Languages` entries in key order; stops at the first value without a comma.
std::vector<LanguagesEntry> readLanguagesEntries(const platform::ProfileFile& settings,
                                                 context::AppState& state) {
    std::vector<LanguagesEntry> entries;
    for (int slot = 0; slot < context::kLanguageSlots; ++slot) {
        const std::string value =
            settings.readString(kLanguagesSection, languageKey(slot), "", kLanguagesValueLength);
        if (value.empty()) {
            state.available[slot] = -1;
            continue;
        }
        LanguagesEntry entry;
        if (ParseLanguagesEntry(value, entry) != 0) {
            break;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

const LanguagesEntry* findEntry(const std::vector<LanguagesEntry>& entries,
                                const std::string& name) {
    const auto match =
        std::find_if(entries.begin(), entries.end(),
                     [&](const LanguagesEntry& entry) { return entry.name == name; });
    return match == entries.end() ? nullptr : &*match;
}

void joinEngineLanguages(const LanguageList& languages, const std::vector<LanguagesEntry>& entries,
                         context::AppState& state, context::LanguageTable& table) {
    state.languageCount = std::clamp<int32_t>(languages.count, 0, context::kLanguageSlots);
    for (int slot = 0; slot < state.languageCount; ++slot) {
        const LanguageEntry& language = languages.entries[slot];
        const std::string name = recordText(language.name);
        state.available[slot] = 1;
        if (const LanguagesEntry* entry = findEntry(entries, name)) {
            table.setText(slot, context::LanguageColumn::HelpFile, entry->helpFile);
            table.setText(slot, context::LanguageColumn::DemoFile, entry->demoFile);
        }
        state.languageId[slot] = language.languageId;
        state.languageNumber[slot] = slot + 1;
        table.setText(slot, context::LanguageColumn::MenuText,
                      name + " " + recordText(language.variant));
        table.setText(slot, context::LanguageColumn::Name, name);
    }
}

void readVoiceValues(const platform::ProfileFile& settings, context::AppState& state) {
    for (int slot = 0; slot < context::kLanguageSlots; ++slot) {
        if (state.available[slot] != 1) {
            continue;
        }
        const std::string section = languageSection(slot);
        const int32_t volume = readVolume(settings, section);
        state.Volume[slot] = volume == 0 ? context::kDefaultVolume : volume;
        state.Pitch[slot] = positiveOr(settings.readInt(section, "Pitch", context::kDefaultPitch),
                                       context::kDefaultPitch);
        state.Rate[slot] = positiveOr(settings.readInt(section, "Rate", context::kDefaultRate),
                                      context::kDefaultRate);
        state.Speaker[slot] =
            positiveOr(settings.readInt(section, "Speaker", context::kDefaultSpeaker),
                       context::kDefaultSpeaker);
    }
}

void readDefaults(const platform::ProfileFile& settings, context::AppState& state) {
    state.Language = positiveOr(settings.readInt(kDefaultsSection, "Language", kDefaultLanguage),
                                kDefaultLanguage);
    state.Frequency =
        positiveOr(settings.readInt(kDefaultsSection, "Frequency", 0), kDefaultFrequency);
    state.PlayMode = settings.readInt(kDefaultsSection, "PlayMode", 0);
    state.TextOut = settings.readInt(kDefaultsSection, "TextOut", 0);
    state.FileType = settings.readInt(kDefaultsSection, "FileType", 0);
    state.DictFileType =
        positiveOr(settings.readInt(kDefaultsSection, "DictFileType", 0), kDefaultDictFileType);
}

}  // namespace

int32_t ParseLanguagesEntry(std::string_view value, LanguagesEntry& entry) {
    if (value.empty()) {
        return 0;
    }
    const std::size_t first = value.find(',');
    if (first == std::string_view::npos) {
        return -1;
    }
    entry.name = std::string(value.substr(0, first));
    const std::string_view rest = value.substr(first + 1);
    const std::size_t second = rest.find(',');
    if (second == std::string_view::npos) {
        entry.helpFile = std::string(rest);
        return 0;
    }
    entry.helpFile = std::string(rest.substr(0, second));
    const std::string_view last = rest.substr(second + 1);
    entry.demoFile = std::string(last.substr(0, last.find(',')));
    return 0;
}

int32_t ReadSettings(const platform::ProfileFile& settings, const LanguageList& languages,
                     context::AppState& state, context::LanguageTable& table,
                     const MenuBarBuilder& buildMenuBar) {
    if (!settings.exists()) {
        return kNoSettingsFile;
    }
    table.clear();
    state.languageCount = 0;
    const std::vector<LanguagesEntry> entries = readLanguagesEntries(settings, state);
    joinEngineLanguages(languages, entries, state, table);
    readVoiceValues(settings, state);
    readDefaults(settings, state);
    if (buildMenuBar && !buildMenuBar()) {
        return kMenuBarFailed;
    }
    return 0;
}

bool WriteSettings(platform::ProfileFile& settings, const context::AppState& state) {
    platform::ProfileEdit edit(settings);
    for (int slot = 0; slot < context::kLanguageSlots; ++slot) {
        if (state.available[slot] != 1) {
            continue;
        }
        const std::string section = languageSection(slot);
        edit.writeString(section, "Volume",
                         std::to_string(static_cast<uint32_t>(state.Volume[slot])));
        edit.writeString(section, "Pitch", std::to_string(state.Pitch[slot]));
        edit.writeString(section, "Rate", std::to_string(state.Rate[slot]));
        edit.writeString(section, "Speaker", std::to_string(state.Speaker[slot]));
    }
    edit.writeString(kDefaultsSection, "Language", std::to_string(state.Language));
    edit.writeString(kDefaultsSection, "PlayMode", std::to_string(state.PlayMode));
    edit.writeString(kDefaultsSection, "Frequency", std::to_string(state.Frequency));
    edit.writeString(kDefaultsSection, "TextOut", std::to_string(state.TextOut));
    return edit.commit();
}

}  // namespace engine
