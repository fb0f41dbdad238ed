#include "text/textbuilder.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "text/characters.h"

namespace saymgr::text {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isPunctuation(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x80 && std::ispunct(byte) != 0;
}

}  // namespace

// Collects the markup of one piece: plain text waits in `m_words` until a command or the end
// flushes it through the dictionaries.
class TextBuilder::Assembly {
  public:
    Assembly(const TextBuilder& builder, int32_t start, int32_t end) : m_builder(builder) {
        m_result.sourceStart = start;
        m_result.sourceEnd = end;
    }

    void addByte(int32_t offset) {
        const std::string& utf8 = appendDecoded(m_words, offset);
        if (utf8.size() == 1 && isBlank(utf8[0])) {
            closeWord();
        } else {
            if (m_wordEnd == m_wordStart) {
                m_wordStart = offset;
            }
            m_wordEnd = offset + 1;
        }
    }

    void addPause(int32_t offset, int32_t milliseconds) {
        flushWords();
        appendTag("<break time=\"" + std::to_string(milliseconds) + "ms\"/>", offset);
    }

    void addBreak(int32_t offset, const char* strength) {
        flushWords();
        appendTag(std::string("<break strength=\"") + strength + "\"/>", offset);
    }

    void addBookmark(int32_t offset, int32_t length) {
        flushWords();
        appendTag("<mark name=\"b" + std::to_string(m_result.bookmarks.size()) + "\"/>", offset);
        m_result.bookmarks.push_back({offset, length});
    }

    void addSpelled(int32_t offset, int32_t first, int32_t last) {
        flushWords();
        MappedText word;
        for (int32_t i = first; i < last; ++i) {
            appendDecoded(word, i);
        }
        appendTag("<say-as interpret-as=\"characters\">", offset);
        appendEscaped(word);
        appendTag("</say-as>", last);
        addWord(first, last);
    }

    SynthesisText finish() {
        flushWords();
        for (std::size_t i = 0; i < m_result.markup.size(); ++i) {
            if ((static_cast<unsigned char>(m_result.markup[i]) & 0xc0) != 0x80) {
                m_result.charStarts.push_back(static_cast<int32_t>(i));
            }
        }
        return std::move(m_result);
    }

  private:
    const std::string& appendDecoded(MappedText& text, int32_t offset) const {
        const std::string& utf8 = m_builder.m_table.utf8(byteAt(offset));
        text.utf8 += utf8;
        text.sourceOffsets.insert(text.sourceOffsets.end(), utf8.size(), offset);
        return utf8;
    }

    uint8_t byteAt(int32_t offset) const {
        return static_cast<uint8_t>(m_builder.m_source[static_cast<std::size_t>(offset)]);
    }

    // Lists the source bytes [start, end) without the punctuation around them as a word,
    // unless nothing remains.
    void addWord(int32_t start, int32_t end) {
        while (start < end && isPunctuation(static_cast<char>(byteAt(start)))) {
            ++start;
        }
        while (end > start && isPunctuation(static_cast<char>(byteAt(end - 1)))) {
            --end;
        }
        if (end > start) {
            m_result.words.push_back({start, end - start});
        }
    }

    // Ends the word being collected.
    void closeWord() {
        addWord(m_wordStart, m_wordEnd);
        m_wordStart = m_wordEnd = 0;
    }

    void flushWords() {
        closeWord();
        if (m_words.utf8.empty()) {
            return;
        }
        appendEscaped(UserDictionary::apply(m_builder.m_dictionaries, m_words));
        m_words = {};
    }

    void appendTag(const std::string& tag, int32_t offset) {
        m_result.markup += tag;
        m_result.sourceOffsets.insert(m_result.sourceOffsets.end(), tag.size(), offset);
    }

    void appendEscaped(const MappedText& text) {
        for (std::size_t i = 0; i < text.utf8.size(); ++i) {
            const char c = text.utf8[i];
            const int32_t offset = text.sourceOffsets[i];
            switch (c) {
                case '<':
                    appendTag("&lt;", offset);
                    break;
                case '>':
                    appendTag("&gt;", offset);
                    break;
                case '&':
                    appendTag("&amp;", offset);
                    break;
                default:
                    m_result.markup += c;
                    m_result.sourceOffsets.push_back(offset);
            }
        }
    }

    const TextBuilder& m_builder;
    SynthesisText m_result;
    MappedText m_words;
    int32_t m_wordStart = 0;  // the word being collected, [start, end) of the source
    int32_t m_wordEnd = 0;
};

TextBuilder::TextBuilder(std::string_view source, const ByteTable& table, Dictionaries dictionaries)
    : m_source(source), m_table(table), m_dictionaries(std::move(dictionaries)) {}

SynthesisText TextBuilder::build(int32_t start, int32_t end) const {
    Assembly assembly(*this, start, end);
    const auto at = [this](int32_t i) { return m_source[static_cast<std::size_t>(i)]; };
    const auto digitsEnd = [&](int32_t from) {
        int32_t i = from;
        while (i < end && i - from < 6 && isDigit(at(i))) {
            ++i;
        }
        return i;
    };
    int32_t i = start;
    while (i < end) {
        if (at(i) != kEscape) {
            assembly.addByte(i++);
            continue;
        }
        const char command = i + 1 < end ? static_cast<char>(at(i + 1) & ~0x20) : '\0';
        if (command == 'P') {
            const int32_t last = digitsEnd(i + 2);
            const int32_t value =
                last > i + 2
                    ? std::stoi(std::string(m_source.substr(
                          static_cast<std::size_t>(i) + 2, static_cast<std::size_t>(last - i - 2))))
                    : kDefaultPauseMs;
            assembly.addPause(i, std::min(value, kMaxPauseMs));
            i = last;
        } else if (command == 'M') {
            const int32_t last = digitsEnd(i + 2);
            assembly.addBookmark(i, last - i);
            i = last;
        } else if (command == 'S') {
            int32_t first = i + 2;
            while (first < end && isBlank(at(first))) {
                ++first;
            }
            int32_t last = first;
            while (last < end && !isBlank(at(last)) && at(last) != kEscape) {
                ++last;
            }
            assembly.addSpelled(i, first, last);
            i = last;
        } else {
            ++i;
        }
    }
    if (end < static_cast<int32_t>(m_source.size()) && end > start) {
        if (const char* strength = closingPause(start, end); strength != nullptr) {
            assembly.addBreak(end - 1, strength);
        }
    }
    return assembly.finish();
}

const char* TextBuilder::closingPause(int32_t start, int32_t end) const {
    int32_t last = end;
    int lineEnds = 0;
    while (last > start && isBlank(m_source[static_cast<std::size_t>(last - 1)])) {
        lineEnds += m_source[static_cast<std::size_t>(last - 1)] == '\n' ? 1 : 0;
        --last;
    }
    if (lineEnds >= 2) {
        return "x-strong";
    }
    const char c = last > start ? m_source[static_cast<std::size_t>(last - 1)] : '\0';
    return c == '.' || c == '!' || c == '?' ? "strong" : nullptr;
}

}  // namespace saymgr::text
