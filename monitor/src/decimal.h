#pragma once

#include <cstdio>
#include <string>

namespace monitor {

// A value with one decimal, as the exports write milliseconds ("12.5").
inline std::string decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace monitor
