#pragma once

#include <saymgr.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "context/appstate.h"

namespace platform {
class ProfileFile;
}

namespace engine {

inline constexpr int32_t kNoSettingsFile = 104;
inline constexpr int32_t kMenuBarFailed = 105;

// Builds the menu bar once the language table is filled; returns false on failure.
using MenuBarBuilder = std::function<bool()>;

// The three fields of a `Languages` entry: name, help file, demo file.
struct LanguagesEntry {
    std::string name;
    std::string helpFile;
    std::string demoFile;
};

// Reads the settings file into `state` and `table`, joining the engine's `languages` with the
// file's language entries, then builds the menu bar. Returns 0, kNoSettingsFile or
// kMenuBarFailed.
int32_t ReadSettings(const platform::ProfileFile& settings, const LanguageList& languages,
                     context::AppState& state, context::LanguageTable& table,
                     const MenuBarBuilder& buildMenuBar);

// Writes the per-language voice values of the engine's languages and the TTSdefault values, all
// in one replacement of the file. Returns false when the file could not be written (it is then
// unchanged); the program goes on without a message.
bool WriteSettings(platform::ProfileFile& settings, const context::AppState& state);

// Splits "name,help,demo"; returns 0 or -1 (no comma). An empty value returns 0 unchanged.
int32_t ParseLanguagesEntry(std::string_view value, LanguagesEntry& entry);

}  // namespace engine
