#pragma once

#include <optional>
#include <string>
#include <vector>

#include "suite/comparison.h"
#include "suite/suite.h"

namespace cli {

// What `voxtrial-cli suite ...` is asked to do, as read from its arguments.
struct SuiteOptions {
    enum class Action { Record, Check, Merge, Render };

    Action action = Action::Check;
    std::string suitePath;                 // record, check, render
    std::vector<std::string> reportPaths;  // merge
    std::string referencePath;
    bool update = false;
    int jobs = 0;  // 0: one per core
    int shard = 1;
    int shards = 1;
    std::string jsonPath;
    std::string junitPath;
    std::string htmlPath;
    std::string enginePath;
    suite::Tolerances tolerances;
    suite::SettingOverrides overrides;
    std::vector<std::size_t> cases;  // render: the positions to render
    std::string renderFolder;        // render: where the case files go
    bool progress = true;
};

// Reads the arguments after "suite". Returns the options, or nullopt with a one-line
// explanation in `error`.
std::optional<SuiteOptions> parseSuiteOptions(const std::vector<std::string>& arguments,
                                              std::string& error);

// The arguments that give a render process the same engine and overrides.
std::vector<std::string> renderArguments(const SuiteOptions& options);

const char* suiteUsageText();

}  // namespace cli
