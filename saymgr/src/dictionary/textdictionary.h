#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dictionary/wordtable.h"

namespace saymgr::dictionary {

// The text dictionary format (.dct): one entry a line, the word, white space, then the
// replacement (plain text or "[[phonemes]]"); blank lines and lines starting with ';' or '#'
// are comments. Any malformed line makes the whole dictionary invalid.
class TextDictionary {
  public:
    static constexpr std::size_t kMaxFileBytes = std::size_t{4} * 1024 * 1024;
    static constexpr std::size_t kMaxLineBytes = 1024;
    static constexpr std::size_t kMaxWordBytes = 64;

    // Parses `source` (code page 437 when `ansi` is false, Windows-1252 when true) into
    // `table`. Returns 0, -24 when the text is not a valid dictionary or has no entries,
    // or -4 when the code-page converter is unavailable.
    static int32_t parse(std::string_view source, bool ansi, WordTable& table);
};

}  // namespace saymgr::dictionary
