#include "platform/codepage.h"

#include "common/codepage.h"

namespace platform {

std::string oemToAnsi(std::string_view oem) {
    return common::fromUtf8(common::toUtf8(oem, common::CodePage::Dos437),
                            common::CodePage::Ansi1252);
}

std::string ansiToUtf8(std::string_view ansi) {
    return common::toUtf8(ansi, common::CodePage::Ansi1252);
}

std::string utf8ToAnsi(std::string_view utf8) {
    return common::fromUtf8(utf8, common::CodePage::Ansi1252);
}

std::string oemToUtf8(std::string_view oem) {
    return common::toUtf8(oem, common::CodePage::Dos437);
}

}  // namespace platform
