#pragma once

namespace saymgr::text {

// The escape character that starts an engine command in a text.
inline constexpr char kEscape = 27;

// Blanks that separate words and pieces of a text.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace saymgr::text
