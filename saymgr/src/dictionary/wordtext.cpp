#include "dictionary/wordtext.h"

#include <cstdint>

namespace saymgr::dictionary {
namespace {

constexpr char32_t kRightSingleQuote = 0x2019;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool isApostrophe(char32_t codePoint) {
    return codePoint == U'\'' || codePoint == kRightSingleQuote;
}

bool isAsciiAlnum(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// Latin Extended-A pairs an upper-case letter with the lower-case letter after it; in these
// ranges the upper-case letter has the odd code point.
bool oddUpperRange(char32_t c) {
    return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

bool evenUpperRange(char32_t c) {
    return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
}

}  // namespace

CodePoint decodeUtf8(std::string_view text, std::size_t position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    const CodePoint invalid{lead, 1, false};
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return invalid;
    }
    if (text.size() - position < length) {
        return invalid;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[position + i]);
        if (!isContinuation(byte)) {
            return invalid;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return invalid;
    }
    return {value, length, true};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isWordCodePoint(char32_t c) {
    if (c < 0x80) {
        return isAsciiAlnum(c);
    }
    if (c < 0x100) {
        return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
    }
    const bool modifierSymbol = c >= 0x2B9 && c <= 0x2FF;
    const bool punctuationOrSymbol = c >= 0x2000 && c <= 0x2BFF;
    const bool cjkPunctuation = c >= 0x3000 && c <= 0x303F;
    const bool privateOrSpecial = (c >= 0xE000 && c <= 0xF8FF) || (c >= 0xFE00 && c <= 0xFE0F) ||
                                  (c >= 0xFFF0 && c <= 0xFFFF) || c == 0xFEFF;
    return !(modifierSymbol || punctuationOrSymbol || cjkPunctuation || privateOrSpecial);
}

char32_t foldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') {
        return c + 0x20;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return c + 0x20;
    }
    if (evenUpperRange(c)) {
        return c | 1;
    }
    if (oddUpperRange(c)) {
        return (c & 1) ? c + 1 : c;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    return c;
}

std::size_t wordEnd(std::string_view text, std::size_t position) {
    std::size_t end = position;
    while (end < text.size()) {
        const CodePoint current = decodeUtf8(text, end);
        if (current.valid && isWordCodePoint(current.value)) {
            end += current.length;
            continue;
        }
        const bool joins = current.valid && isApostrophe(current.value) && end > position &&
                           end + current.length < text.size();
        if (!joins) {
            break;
        }
        const CodePoint next = decodeUtf8(text, end + current.length);
        if (!next.valid || !isWordCodePoint(next.value)) {
            break;
        }
        end += current.length;
    }
    return end;
}

bool isSingleWord(std::string_view text) {
    return !text.empty() && wordEnd(text, 0) == text.size();
}

std::string foldWord(std::string_view word) {
    std::string folded;
    folded.reserve(word.size());
    for (std::size_t i = 0; i < word.size();) {
        const CodePoint cp = decodeUtf8(word, i);
        if (cp.valid) {
            appendUtf8(folded, foldCase(cp.value));
        } else {
            folded += word[i];
        }
        i += cp.length;
    }
    return folded;
}

bool isValidReplacement(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    bool inPhonemes = false;
    std::size_t sectionStart = 0;
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint cp = decodeUtf8(text, i);
        if (!cp.valid || isControl(cp.value)) {
            return false;
        }
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("[[")) {
            if (inPhonemes) {
                return false;
            }
            inPhonemes = true;
            i += 2;
            sectionStart = i;
        } else if (rest.starts_with("]]")) {
            if (!inPhonemes || i == sectionStart) {
                return false;
            }
            inPhonemes = false;
            i += 2;
        } else {
            i += cp.length;
        }
    }
    return !inPhonemes;
}

}  // namespace saymgr::dictionary
