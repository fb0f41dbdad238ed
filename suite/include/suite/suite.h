#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace suite {

// How the engine is set up for a case. Voice values are 1 to 9; the frequency is the engine's
// code (7, 8, 10 or 11); the system mode is sent only when given.
struct CaseSettings {
    std::string language = "en-us";  // the engine's variant code, as voxtrial-cli lists it
    int32_t speaker = 1;
    int32_t volume = 5;
    int32_t pitch = 5;
    int32_t rate = 5;
    int32_t frequency = 11;
    std::optional<int32_t> systemMode;
    std::vector<std::filesystem::path> dictionaries;

    bool operator==(const CaseSettings&) const = default;
};

// One text of a suite, in the engine's Windows-1252 text form: a '~' of the suite file is the
// escape that starts an engine command.
struct SuiteCase {
    std::string id;
    std::string text;
    CaseSettings settings;

    bool operator==(const SuiteCase&) const = default;
};

// A corpus to speak: its name (given in the file, or the file's stem) and its cases in order.
struct Suite {
    std::string name;
    std::vector<SuiteCase> cases;
};

// Settings given on the command line for every case, on top of the case's own.
struct SettingOverrides {
    std::optional<int32_t> speaker;
    std::optional<int32_t> volume;
    std::optional<int32_t> pitch;
    std::optional<int32_t> rate;
    std::optional<int32_t> frequency;
    std::vector<std::filesystem::path> dictionaries;
};

// A suite as read from a file, or what is wrong with the file.
struct LoadedSuite {
    std::optional<Suite> suite;
    std::string error;
};

// Reads a suite: a JSON file (".json") of cases, or a plain text corpus with one case per line,
// blank lines and '#' comments skipped, a case's id being its line number. A comment
// "# language: CODE" sets the language of the lines after it.
LoadedSuite loadSuite(const std::filesystem::path& path);

void applyOverrides(Suite& suite, const SettingOverrides& overrides);

// The positions of the cases of shard `shard` (1-based) of `shards`: every shards-th case.
std::vector<std::size_t> shardCases(std::size_t caseCount, int shard, int shards);

// A digest of what a case says (its text and language), so that a reference can tell that it was
// recorded from the same case. Voice values and dictionaries are left out: changing them is
// what a check is for.
std::string caseFingerprint(const SuiteCase& suiteCase);

}  // namespace suite
