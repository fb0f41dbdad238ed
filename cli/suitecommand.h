#pragma once

#include <string>
#include <vector>

namespace cli {

// Runs `voxtrial-cli suite ARGUMENTS...`; returns the exit status: 0 when nothing changed,
// 1 when a case changed, 2 for errors.
int runSuiteCommand(const std::vector<std::string>& arguments);

}  // namespace cli
