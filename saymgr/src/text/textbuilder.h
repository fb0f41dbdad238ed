#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "dictionary/userdictionary.h"
#include "text/bytetable.h"
#include "text/synthesistext.h"

namespace saymgr::text {

using Dictionaries = std::vector<std::shared_ptr<const UserDictionary>>;

// Turns one piece of the caller's 8-bit text into SynthesisText: decodes the code page,
// carries out the escape commands and applies the user dictionaries to the words.
//
// Escape commands (the escape character, 27, then a letter in either case):
//   ESC P digits   pause for that many milliseconds (no digits: 500, at most 10000)
//   ESC S          spell out the word that follows (after any blanks), letter by letter
//   ESC M digits   bookmark: reported when the speech reaches it (the digits are optional)
// An escape that starts none of these is skipped and the text after it is spoken.
class TextBuilder {
  public:
    TextBuilder(std::string_view source, const ByteTable& table, Dictionaries dictionaries);

    SynthesisText build(int32_t start, int32_t end) const;

    static constexpr int32_t kDefaultPauseMs = 500;
    static constexpr int32_t kMaxPauseMs = 10000;

  private:
    class Assembly;

    // The pause that ends a piece followed by more text, as eSpeak NG would make it inside one
    // text: a paragraph's, a sentence's, or none (nullptr).
    const char* closingPause(int32_t start, int32_t end) const;

    std::string_view m_source;
    const ByteTable& m_table;
    Dictionaries m_dictionaries;
};

}  // namespace saymgr::text
