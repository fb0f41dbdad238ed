#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace context {

inline constexpr int kLanguageSlots = 25;
// The user dictionaries loaded at one time, over all languages.
inline constexpr int kDictionarySlots = 50;

// A language's voice values when the settings file has none, and after Defaults.
inline constexpr int32_t kDefaultVolume = 8;
inline constexpr int32_t kDefaultPitch = 5;
inline constexpr int32_t kDefaultRate = 5;
inline constexpr int32_t kDefaultSpeaker = 1;

// The program-wide state record: the language part joined from the engine's languages and the
// settings file, the per-language voice values, and the persisted defaults. A fresh record is
// all zeros.
struct AppState {
    // Language part. Slot k (0-based) is language number k+1.
    int32_t languageCount = 0;
    std::array<int32_t, kLanguageSlots> available{};  // 1 engine language, -1 no settings entry
    std::array<int32_t, kLanguageSlots> languageNumber{};
    std::array<int32_t, kLanguageSlots> languageId{};

    // Voice values per slot: sliders 1..9 and speaker 1..9.
    std::array<int32_t, kLanguageSlots> Volume{};
    std::array<int32_t, kLanguageSlots> Pitch{};
    std::array<int32_t, kLanguageSlots> Rate{};
    std::array<int32_t, kLanguageSlots> Speaker{};

    int32_t Language = 0;   // 1-based current language number
    int32_t PlayMode = 0;   // text source command identifier
    int32_t Frequency = 0;  // frequency code
    int32_t TextOut = 0;    // 1 = echo the spoken text
    int32_t FileType = 0;   // text form flag of text files (read, never written)
    int32_t DictFileType = 0;

    std::string textFilePath;      // the current text file (File source)
    std::string languageHelpPath;  // help file of the current language

    // The dictionary slot table. A slot is free exactly when its DictLanguage is -1; a used
    // slot holds the whole path the user chose, the language number current at loading and
    // the engine's handle.
    std::array<std::string, kDictionarySlots> DictPath;
    std::array<int32_t, kDictionarySlots> DictLanguage{};
    std::array<int32_t, kDictionarySlots> DictHandle{};

    bool operator==(const AppState&) const = default;
};

// Writes every field, for test failure messages and diagnostics.
std::ostream& operator<<(std::ostream& out, const AppState& state);

// Columns of the language table.
enum class LanguageColumn { Name, HelpFile, DemoFile, MenuText };

// Per language slot: the engine's name, the help and demo file names from the settings file,
// and the menu text "name variant".
class LanguageTable {
  public:
    const std::string& text(int slot, LanguageColumn column) const;
    void setText(int slot, LanguageColumn column, std::string value);
    void clear();

  private:
    std::array<std::array<std::string, 4>, kLanguageSlots> m_texts;
};

}  // namespace context
