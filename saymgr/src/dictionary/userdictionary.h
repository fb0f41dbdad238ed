#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace saymgr {

// Text on its way to the synthesizer: UTF-8 bytes and, for each byte, the byte offset in the
// text as the caller passed it, so positions reported for the synthesized text map back.
struct MappedText {
    std::string utf8;
    std::vector<int32_t> sourceOffsets;  // same length as utf8
};

// A user dictionary of one language: whole-word replacements (plain text, or phonemes written
// "[[...]]"). Text dictionaries (.dct) are compiled into binary ones (.dcb), and only binary
// dictionaries are loaded.
class UserDictionary {
  public:
    // Compiles the text dictionary at `textPath` (code page 437 when `codePageFlag` is 0,
    // Windows-1252 when it is 1) for the language `languageId` into `binaryPath`.
    // Returns 0 or a negative engine status.
    static int32_t compile(const std::string& textPath, int32_t codePageFlag, int32_t languageId,
                           const std::string& binaryPath);

    // Loads and validates a binary dictionary. Returns 0 and sets `dictionary`, or a negative
    // engine status (-1 missing, -2 unreadable, -24 not a binary dictionary, -18 damaged).
    static int32_t load(const std::string& binaryPath, std::unique_ptr<UserDictionary>& dictionary);
    // The same from the bytes of a binary dictionary.
    static int32_t fromBytes(std::string_view bytes, std::unique_ptr<UserDictionary>& dictionary);

    int32_t languageId() const { return m_languageId; }
    // The dictionary as the bytes of a binary dictionary, which fromBytes() reads back.
    std::string toBytes() const;
    std::size_t size() const;

    // Replaces the whole words of `text` that have entries. The bytes of a replacement map to
    // the source offsets of the word they replace.
    MappedText apply(const MappedText& text) const;

    // The same with several dictionaries in one pass: each word of `text` is replaced at most
    // once, by the first dictionary that holds it, and replacements are never looked up again.
    // The replacements of one text add at most kGrowthPerByte times its length plus
    // kMaxReplacementGrowth bytes; words beyond that are kept as written.
    static MappedText apply(std::span<const std::shared_ptr<const UserDictionary>> dictionaries,
                            const MappedText& text);
    static constexpr std::size_t kGrowthPerByte = 16;
    static constexpr std::size_t kMaxReplacementGrowth = 4096;

    // The replacement of a word folded as the tables keep words, or null.
    const std::string* entry(const std::string& foldedWord) const;

    ~UserDictionary();

  private:
    struct Entries;
    UserDictionary(int32_t languageId, std::unique_ptr<Entries> entries);

    int32_t m_languageId;
    std::unique_ptr<Entries> m_entries;
};

}  // namespace saymgr
