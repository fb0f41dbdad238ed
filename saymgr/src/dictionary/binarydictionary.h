#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dictionary/textdictionary.h"
#include "dictionary/wordtable.h"

namespace saymgr::dictionary {

// The binary dictionary format (.dcb), all integers little-endian:
//   8 bytes  magic "QVXDCB" 0x1A 0x0A
//   uint32   format version (1)
//   int32    language id
//   uint32   entry count
//   uint32   byte size of the entries
//   entries  each: uint16 word length, uint16 replacement length, the folded word, the
//            replacement (UTF-8)
//   uint32   CRC-32 of every byte before it
class BinaryDictionary {
  public:
    static constexpr uint32_t kVersion = 1;
    static constexpr std::size_t kMaxWordBytes = 255;
    static constexpr std::size_t kMaxReplacementBytes = 4096;
    // No more than the compiler can write from the largest text dictionary: an entry takes at
    // least three bytes of text ("a b"), and a byte of text at most three bytes of UTF-8. A file
    // beyond these is damaged (-18), so a loaded dictionary holds a bounded amount of memory.
    static constexpr std::size_t kMaxEntries = TextDictionary::kMaxFileBytes / 3;
    static constexpr std::size_t kMaxFileBytes =
        8 + 4 * 4 + 3 * TextDictionary::kMaxFileBytes + 4 * kMaxEntries + 4;

    static std::string encode(int32_t languageId, const WordTable& table);

    // Validates and decodes `bytes`. Returns 0, -24 when the magic number is missing (not a
    // binary dictionary) or -18 when it is damaged: another version, no entries, a wrong size
    // or checksum, or an entry that the compiler could not have written. On failure `table`
    // may hold part of the entries.
    static int32_t decode(std::string_view bytes, int32_t& languageId, WordTable& table);
};

}  // namespace saymgr::dictionary
