#pragma once

#include <string>
#include <string_view>

namespace platform {

// DOS (OEM) text is code page 437, ANSI text is Windows-1252. Conversions never fail: a
// character with no form in the target code page becomes '?'.
std::string oemToAnsi(std::string_view oem);
std::string ansiToUtf8(std::string_view ansi);
std::string utf8ToAnsi(std::string_view utf8);
std::string oemToUtf8(std::string_view oem);

}  // namespace platform
