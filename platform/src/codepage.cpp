#include "platform/codepage.h"

#include "iconvconverter.h"

namespace platform {
namespace {

// The five bytes Windows-1252 leaves undefined stand for the C1 controls of the same value, so
// that ANSI text survives a trip through UTF-8 unchanged.
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

// The C1 control U+0080..U+009F encoded in UTF-8 is C2 80..C2 9F.
std::string c1ControlUtf8(unsigned char byte) {
    return std::string{'\xC2', static_cast<char>(byte)};
}

}  // namespace

std::string ansiToUtf8(std::string_view ansi) {
    thread_local IconvConverter converter("UTF-8", "WINDOWS-1252");
    std::string out;
    out.reserve(ansi.size());
    while (!ansi.empty()) {
        ansi.remove_prefix(converter.convert(ansi, out));
        if (!ansi.empty()) {
            const auto byte = static_cast<unsigned char>(ansi.front());
            out += isUndefinedIn1252(byte) ? c1ControlUtf8(byte) : std::string("?");
            ansi.remove_prefix(1);
        }
    }
    return out;
}

std::string utf8ToAnsi(std::string_view utf8) {
    thread_local IconvConverter converter("WINDOWS-1252", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        utf8.remove_prefix(converter.convert(utf8, out));
        if (utf8.empty()) {
            break;
        }
        const std::size_t length = utf8SequenceLength(utf8);
        const auto second = length == 2 ? static_cast<unsigned char>(utf8[1]) : 0;
        const bool c1 = length == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2;
        out += c1 && isUndefinedIn1252(second) ? static_cast<char>(second) : '?';
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
    return out;
}

std::string oemToUtf8(std::string_view oem) {
    thread_local IconvConverter converter("UTF-8", "CP437");
    std::string out;
    out.reserve(oem.size() * 2);
    while (!oem.empty()) {
        oem.remove_prefix(converter.convert(oem, out));
        if (!oem.empty()) {
            out += '?';
            oem.remove_prefix(1);
        }
    }
    return out;
}

std::string oemToAnsi(std::string_view oem) {
    return utf8ToAnsi(oemToUtf8(oem));
}

}  // namespace platform
