#pragma once

#include <string>
#include <vector>

#include "suite/report.h"

namespace suite {

// One line per change of a case: the duration, then each changed word.
std::vector<std::string> changeLines(const CaseResult& result);
// `text` safe inside XML and HTML text and attributes.
std::string xmlEscaped(const std::string& text);
std::string fixed(double value, int decimals);

}  // namespace suite
