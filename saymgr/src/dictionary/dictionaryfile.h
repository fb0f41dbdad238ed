#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace saymgr::dictionary {

// Whole-file reads and atomic writes of dictionary files, answering engine statuses.
class DictionaryFile {
  public:
    // Reads at most `limit` + 1 bytes of the regular file at `path` into `bytes`, so a caller
    // sees a file longer than `limit` without reading all of it. Returns 0, -1 (missing) or
    // -2 (cannot be opened or read, or not a regular file).
    static int32_t read(const std::string& path, std::size_t limit, std::string& bytes);

    // Replaces the file at `path` with `bytes` in one step (common::ReplacementFile: the old
    // file's mode is kept, a symbolic link's target is replaced, anything but a regular file
    // is refused). Returns 0, -2 (cannot be created there) or -3 (writing failed); on failure
    // no temporary file remains and an existing `path` is untouched.
    static int32_t writeAtomically(const std::string& path, std::string_view bytes);

    // True when both paths name the same existing file.
    static bool sameFile(const std::string& first, const std::string& second);
};

}  // namespace saymgr::dictionary
