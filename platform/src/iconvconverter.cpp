#include "iconvconverter.h"

#include <cerrno>

namespace platform {

IconvConverter::IconvConverter(const char* to, const char* from)
    : m_descriptor(::iconv_open(to, from)) {}

IconvConverter::~IconvConverter() {
    if (valid()) {
        ::iconv_close(m_descriptor);
    }
}

std::size_t IconvConverter::convert(std::string_view input, std::string& out) {
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

}  // namespace platform
