#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace saymgr::text {

// A bookmark of the caller's text: the escape command's position and length in bytes.
struct Bookmark {
    int32_t start;
    int32_t length;
};

// A word of the caller's text: its position and length in bytes.
struct Word {
    int32_t start;
    int32_t length;
};

// One piece of the caller's text in the form the synthesizer reads (UTF-8 with SSML markup),
// with the way back from every byte and character to the caller's byte positions.
struct SynthesisText {
    std::string markup;
    std::vector<int32_t> sourceOffsets;  // one per byte of `markup`
    std::vector<int32_t> charStarts;     // byte offset of each character of `markup`
    std::vector<Bookmark> bookmarks;     // the mark named "b<N>" is bookmarks[N]
    // The words that are spoken, in order: runs of the text between blanks and commands,
    // without the punctuation around them; a spelled word is one word.
    std::vector<Word> words;
    int32_t sourceStart = 0;
    int32_t sourceEnd = 0;

    // The caller's byte range [first, second) of `count` characters from `charIndex`.
    std::pair<int32_t, int32_t> sourceRange(int32_t charIndex, int32_t count) const;
    // What the synthesizer reads for `word` (after the dictionaries), as plain UTF-8 text.
    std::string spokenText(const Word& word) const;
};

}  // namespace saymgr::text
