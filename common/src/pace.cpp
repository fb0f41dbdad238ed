#include "common/pace.h"

#include <charconv>
#include <cmath>

namespace common {

std::optional<double> parsePace(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    if (value == 0 || (value >= kSlowestPace && value <= kFastestPace)) {
        return value;
    }
    return std::nullopt;
}

}  // namespace common
