#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// A file in the private-profile format: "[section]" lines followed by "key=value" lines.
// Sections and keys match case-insensitively, blanks around names and values are dropped, the
// first of duplicate sections or keys wins, comment lines (';') and lines without '=' are
// ignored, and a missing file reads as all defaults. Writing one key edits the file in place —
// every other line stays byte for byte, a new key goes at the end of its section, a new section
// at the end of the file — and replaces the file atomically, so an interrupted write leaves
// either the old or the new file.
class ProfileFile {
  public:
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return m_path; }
    bool exists() const;

    // The value, at most maxLength characters of it (0 = whole), or `fallback` when missing.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback, std::size_t maxLength = 0) const;
    // Leading decimal digits of the value as the C library reads them ("12ab" is 12, "x" is 0),
    // or `fallback` when the key is missing.
    int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) const;

    // Returns false when the file could not be written; the old file is then unchanged.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::filesystem::path m_path;
};

// The user's own profile (the stand-in for the system's user settings, such as "sounds"):
// a profile file in the user's XDG configuration folder.
std::filesystem::path userProfilePath();

}  // namespace platform
