#include "text/bytetable.h"

#include "dictionary/codepagedecoder.h"

namespace saymgr::text {

ByteTable::ByteTable(bool ansi) {
    dictionary::CodePageDecoder decoder(ansi);
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        std::string& utf8 = m_utf8[static_cast<std::size_t>(value)];
        if (value == '\n' || value == '\r' || value == '\t') {
            utf8.assign(1, byte);
        } else if (value < 32 || value == 127 || !decoder.isOpen() ||
                   !decoder.decode(std::string_view(&byte, 1), utf8) || utf8.empty()) {
            utf8.assign(1, ' ');
        }
    }
}

}  // namespace saymgr::text
