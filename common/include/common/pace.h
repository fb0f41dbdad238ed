#pragma once

#include <optional>
#include <string_view>

namespace common {

// The engine's device-less sink plays at SAYMGR_PACE times real time: 0 for as fast as
// synthesis goes, or a finite number from kSlowestPace to kFastestPace. Anything else (text,
// a negative or non-finite number, one outside that range) is no pace.
inline constexpr double kSlowestPace = 0.001;
inline constexpr double kFastestPace = 1000000.0;
std::optional<double> parsePace(std::string_view text);

}  // namespace common
