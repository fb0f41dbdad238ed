#pragma once

#include <saymgr.h>

#include <filesystem>
#include <string>
#include <vector>

#include "context/appstate.h"

namespace enginetest {

// A scratch folder with one settings file, removed when the test ends.
class ScratchSettings {
  public:
    ScratchSettings();
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    const std::filesystem::path& path() const { return m_file; }
    void write(const std::string& text) const;
    std::string read() const;

  private:
    std::filesystem::path m_folder;
    std::filesystem::path m_file;
};

// An engine language list with the given names, ids 1001, 1002, ... and variant "std".
LanguageList makeLanguages(const std::vector<std::string>& names);

// The state read from a settings file without entries for the first `count` languages of
// makeLanguages(): each offered with the default voice values, the rest not offered.
context::AppState defaultState(int count);

}  // namespace enginetest
