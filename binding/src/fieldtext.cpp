#include "binding/fieldtext.h"

#include <cstring>
#include <string_view>

#include "common/codepage.h"

namespace binding {

std::string fieldText(const char* field, std::size_t size) {
    return common::toUtf8(std::string_view(field, strnlen(field, size)),
                          common::CodePage::Ansi1252);
}

}  // namespace binding
