#include "dictionary/codepagedecoder.h"

#include <cerrno>

namespace saymgr::dictionary {

CodePageDecoder::CodePageDecoder(bool ansi)
    : m_converter(iconv_open("UTF-8", ansi ? "WINDOWS-1252" : "CP437")) {}

CodePageDecoder::~CodePageDecoder() {
    if (isOpen()) {
        iconv_close(m_converter);
    }
}

bool CodePageDecoder::decode(std::string_view text, std::string& utf8) {
    utf8.clear();
    if (!isOpen()) {
        return false;
    }
    iconv(m_converter, nullptr, nullptr, nullptr, nullptr);
    // One source byte becomes at most three UTF-8 bytes in both code pages.
    std::string buffer(text.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    if (iconv(m_converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        return false;
    }
    buffer.resize(buffer.size() - outLeft);
    utf8 = std::move(buffer);
    return true;
}

}  // namespace saymgr::dictionary
