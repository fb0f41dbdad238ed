#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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

    // Returns false when the file could not be written; the old file is then unchanged. Names
    // holding a line break or a NUL byte, a section holding ']', a key holding '=' or starting
    // with '[' or ';', and values holding a line break are refused.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

    // The file's text and where its keys are, as last read: read again only when the file
    // changed, so a pass of reads parses the file once.
    struct Snapshot;
    std::shared_ptr<const Snapshot> snapshot() const;

  private:
    std::filesystem::path m_path;
    mutable std::shared_ptr<const Snapshot> m_snapshot;
};

// Changes waiting for ProfileEdit::commit(): by section and key (folded, joined by a NUL byte)
// the new value, or none for a removal; `order` keeps the names as first written, which new
// keys and sections take.
struct ProfileChanges {
    std::unordered_map<std::string, std::optional<std::string>> values;
    std::vector<std::pair<std::string, std::string>> order;
};

// Several changes to one profile file, made in one replacement of the file. The file is read
// once, when the edit begins; each change is made to the text in memory under the same rules
// and refusals as ProfileFile::writeString; commit() puts the new text in the file's place in
// one step, so the file ends up with all the changes or none. Dropped without commit(), the
// edit leaves the file as it was.
class ProfileEdit {
  public:
    explicit ProfileEdit(ProfileFile& file);

    // The value as the edited text now stands, or nothing when the section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // False when the change is refused or the file could not be read.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    // Takes out the key's whole line; a missing key is no change.
    void removeKey(std::string_view section, std::string_view key);
    // Writes the changes, if there are any. False when the file could not be read or written;
    // the file is then unchanged.
    bool commit();

  private:
    // Whether the text is one the reader accepts: changes to anything else are refused.
    bool isEditable() const;
    void change(std::string_view section, std::string_view key, std::optional<std::string> value);

    std::filesystem::path m_path;
    std::shared_ptr<const ProfileFile::Snapshot> m_original;
    ProfileChanges m_changes;
};

// The user's own profile (the stand-in for the system's user settings, such as "sounds"):
// a profile file in the user's XDG configuration folder.
std::filesystem::path userProfilePath();

}  // namespace platform
