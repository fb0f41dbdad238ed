#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cli {

// Conversions between the shell's UTF-8 and the engine's 8-bit code pages, with iconv.
class TextCodec {
  public:
    // UTF-8 to Windows-1252; nullopt when `utf8` is not valid UTF-8 or has a character that
    // Windows-1252 lacks.
    static std::optional<std::string> toAnsi(std::string_view utf8);
    // Code page 437 (`dos`) or Windows-1252 to UTF-8; bytes the code page lacks become '?'.
    static std::string toUtf8(std::string_view text, bool dos);
};

}  // namespace cli
