#include "common/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace common {
namespace {

// Owns one iconv conversion descriptor. convert() translates as much as it can and stops at
// the first byte it cannot: the caller decides what replaces it.
class IconvConverter {
  public:
    IconvConverter(const char* to, const char* from) : m_descriptor(::iconv_open(to, from)) {}
    ~IconvConverter() {
        if (valid()) {
            ::iconv_close(m_descriptor);
        }
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    // iconv_open() reports failure as (iconv_t)-1.
    bool valid() const {
        return m_descriptor != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
    }

    // Appends the converted text to `out`; returns the number of input bytes consumed. Fewer
    // than input.size() means the byte at that position has no conversion.
    std::size_t convert(std::string_view input, std::string& out) {
        if (!valid()) {
            return 0;
        }
        ::iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPointer = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = ::iconv(m_descriptor, &in, &inLeft, &outPointer, &outLeft);
            out.append(buffer, sizeof buffer - outLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                break;
            }
        }
        return input.size() - inLeft;
    }

  private:
    iconv_t m_descriptor;
};

const char* iconvName(CodePage page) {
    return page == CodePage::Dos437 ? "CP437" : "WINDOWS-1252";
}

// One converter per direction and code page and thread, opened on first use.
IconvConverter& decoder(CodePage from) {
    thread_local IconvConverter dos("UTF-8", iconvName(CodePage::Dos437));
    thread_local IconvConverter ansi("UTF-8", iconvName(CodePage::Ansi1252));
    return from == CodePage::Dos437 ? dos : ansi;
}

IconvConverter& encoder(CodePage to) {
    thread_local IconvConverter dos(iconvName(CodePage::Dos437), "UTF-8");
    thread_local IconvConverter ansi(iconvName(CodePage::Ansi1252), "UTF-8");
    return to == CodePage::Dos437 ? dos : ansi;
}

bool isUndefinedIn1252(unsigned char byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// Length of the well-formed UTF-8 sequence at the start of `text`, 0 if it is not one.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// The whole of `text` converted, or nothing when a part of it has no conversion.
std::optional<std::string> convertWhole(IconvConverter& converter, std::string_view text) {
    std::string out;
    if (!converter.valid() || converter.convert(text, out) != text.size()) {
        return std::nullopt;
    }
    return out;
}

// What stands for the byte at the front of `text` that `from` cannot convert.
std::string decodedStandIn(unsigned char byte, CodePage from) {
    if (from == CodePage::Ansi1252 && isUndefinedIn1252(byte)) {
        return std::string{'\xC2', static_cast<char>(byte)};  // the C1 control U+0080..U+009F
    }
    return "?";
}

// What stands for the character at the front of `utf8` that `to` cannot hold; `length` is the
// length of that character's sequence (0 for a malformed one).
char encodedStandIn(std::string_view utf8, std::size_t length, CodePage to) {
    const bool c1 = length == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2;
    const auto second = length == 2 ? static_cast<unsigned char>(utf8[1]) : 0;
    return to == CodePage::Ansi1252 && c1 && isUndefinedIn1252(second) ? static_cast<char>(second)
                                                                       : '?';
}

}  // namespace

std::string toUtf8(std::string_view text, CodePage from) {
    IconvConverter& converter = decoder(from);
    std::string out;
    out.reserve(text.size() * 2);
    while (!text.empty()) {
        text.remove_prefix(converter.convert(text, out));
        if (!text.empty()) {
            out += decodedStandIn(static_cast<unsigned char>(text.front()), from);
            text.remove_prefix(1);
        }
    }
    return out;
}

std::string fromUtf8(std::string_view utf8, CodePage to) {
    IconvConverter& converter = encoder(to);
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        utf8.remove_prefix(converter.convert(utf8, out));
        if (!utf8.empty()) {
            const std::size_t length = utf8SequenceLength(utf8);
            out += encodedStandIn(utf8, length, to);
            utf8.remove_prefix(length == 0 ? 1 : length);
        }
    }
    return out;
}

std::optional<std::string> toUtf8Exact(std::string_view text, CodePage from) {
    return convertWhole(decoder(from), text);
}

std::optional<std::string> fromUtf8Exact(std::string_view utf8, CodePage to) {
    return convertWhole(encoder(to), utf8);
}

std::string oemToAnsi(std::string_view oem) {
    return fromUtf8(toUtf8(oem, CodePage::Dos437), CodePage::Ansi1252);
}

std::string ansiToUtf8(std::string_view ansi) {
    return toUtf8(ansi, CodePage::Ansi1252);
}

std::string utf8ToAnsi(std::string_view utf8) {
    return fromUtf8(utf8, CodePage::Ansi1252);
}

std::string oemToUtf8(std::string_view oem) {
    return toUtf8(oem, CodePage::Dos437);
}

}  // namespace common
