#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace saymgr::dictionary {

// One decoded UTF-8 sequence: its code point and byte length. An invalid or truncated
// sequence decodes as one byte with `valid` false.
struct CodePoint {
    char32_t value;
    std::size_t length;
    bool valid;
};

CodePoint decodeUtf8(std::string_view text, std::size_t position);
void appendUtf8(std::string& out, char32_t codePoint);

// Letters and digits of any script; punctuation, symbols, spaces and control characters
// are not part of words.
bool isWordCodePoint(char32_t codePoint);

// Folds the upper-case letters of ASCII, Latin-1 and Latin Extended-A to lower case.
char32_t foldCase(char32_t codePoint);

// The end of the word that starts at `position`: a run of word characters in which an
// apostrophe (' or U+2019) between two word characters also belongs to the word. Returns
// `position` when no word starts there.
std::size_t wordEnd(std::string_view text, std::size_t position);

// True when `text` is valid UTF-8 and exactly one word.
bool isSingleWord(std::string_view text);

// The case-folded form of a word, the key under which dictionaries store it.
std::string foldWord(std::string_view word);

// True when `text` is valid UTF-8, not empty, has no control characters and every "[["
// phoneme section is non-empty and closed by "]]" before the next one opens.
bool isValidReplacement(std::string_view text);

}  // namespace saymgr::dictionary
