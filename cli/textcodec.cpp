#include "textcodec.h"

#include <iconv.h>

namespace cli {
namespace {

// One iconv conversion descriptor.
class Converter {
  public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (isOpen()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool isOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts one chunk; false at a sequence that cannot be converted, leaving `in` at it.
    bool convert(std::string_view& in, std::string& out) {
        std::string buffer(in.size() * 4 + 8, '\0');
        char* source = const_cast<char*>(in.data());
        std::size_t sourceLeft = in.size();
        char* target = buffer.data();
        std::size_t targetLeft = buffer.size();
        const bool complete =
            iconv(m_cd, &source, &sourceLeft, &target, &targetLeft) != static_cast<size_t>(-1);
        out.append(buffer.data(), buffer.size() - targetLeft);
        in.remove_prefix(in.size() - sourceLeft);
        return complete;
    }

  private:
    iconv_t m_cd;
};

}  // namespace

std::optional<std::string> TextCodec::toAnsi(std::string_view utf8) {
    Converter converter("WINDOWS-1252", "UTF-8");
    std::string ansi;
    if (!converter.isOpen() || !converter.convert(utf8, ansi)) {
        return std::nullopt;
    }
    return ansi;
}

std::string TextCodec::toUtf8(std::string_view text, bool dos) {
    Converter converter("UTF-8", dos ? "CP437" : "WINDOWS-1252");
    std::string utf8;
    if (!converter.isOpen()) {
        return std::string(text);
    }
    while (!converter.convert(text, utf8) && !text.empty()) {
        utf8 += '?';
        text.remove_prefix(1);
    }
    return utf8;
}

}  // namespace cli
