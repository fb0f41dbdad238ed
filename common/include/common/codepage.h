#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

// The two 8-bit code pages texts come in: DOS text is code page 437, ANSI text Windows-1252.
enum class CodePage { Dos437, Ansi1252 };

// Conversions that never fail: a byte or character with no counterpart becomes '?'. The five
// bytes Windows-1252 leaves undefined stand for the C1 controls of the same value, so that
// ANSI text survives a trip through UTF-8 unchanged.
std::string toUtf8(std::string_view text, CodePage from);
std::string fromUtf8(std::string_view utf8, CodePage to);

// Exact conversions: nullopt when `text` has a byte the code page does not define, or `utf8`
// is not well-formed or has a character the code page lacks.
std::optional<std::string> toUtf8Exact(std::string_view text, CodePage from);
std::optional<std::string> fromUtf8Exact(std::string_view utf8, CodePage to);

// The conversions the program makes most, by the names of their code pages (OEM is DOS).
std::string oemToAnsi(std::string_view oem);
std::string ansiToUtf8(std::string_view ansi);
std::string utf8ToAnsi(std::string_view utf8);
std::string oemToUtf8(std::string_view oem);

}  // namespace common
