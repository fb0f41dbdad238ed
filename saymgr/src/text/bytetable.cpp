#include "text/bytetable.h"

#include "common/codepage.h"

namespace saymgr::text {

ByteTable::ByteTable(bool ansi) {
    const common::CodePage codePage = ansi ? common::CodePage::Ansi1252 : common::CodePage::Dos437;
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        std::string& utf8 = m_utf8[static_cast<std::size_t>(value)];
        if (value == '\n' || value == '\r' || value == '\t') {
            utf8.assign(1, byte);
            continue;
        }
        std::optional<std::string> decoded;
        if (value >= 32 && value != 127) {
            decoded = common::toUtf8Exact(std::string_view(&byte, 1), codePage);
        }
        utf8 = decoded && !decoded->empty() ? *decoded : std::string(1, ' ');
    }
}

}  // namespace saymgr::text
