#include "suiteoptions.h"

#include <charconv>
#include <functional>
#include <map>
#include <set>

namespace cli {
namespace {

// Reads one option's value into the options; false with `error` set when it does not fit.
using Setter = std::function<bool(SuiteOptions&, const std::string&, std::string&)>;

template <typename Number>
std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

Setter voiceSetter(std::optional<int32_t> suite::SettingOverrides::*field, const char* name,
                   const std::set<int32_t>& allowed) {
    return [=](SuiteOptions& options, const std::string& value, std::string& error) {
        const auto number = parseNumber<int32_t>(value);
        if (!number || allowed.count(*number) == 0) {
            error = std::string(name) + " takes " +
                    (allowed.size() == 9 ? "a number from 1 to 9" : "7, 8, 10 or 11") + ", not '" +
                    value + "'";
            return false;
        }
        options.overrides.*field = *number;
        return true;
    };
}

Setter toleranceSetter(double suite::Tolerances::*field, const char* name) {
    return [=](SuiteOptions& options, const std::string& value, std::string& error) {
        const auto number = parseNumber<double>(value);
        if (!number || *number < 0) {
            error = std::string(name) + " takes a number of 0 or more, not '" + value + "'";
            return false;
        }
        options.tolerances.*field = *number;
        return true;
    };
}

Setter pathSetter(std::string SuiteOptions::*field) {
    return [=](SuiteOptions& options, const std::string& value, std::string&) {
        options.*field = value;
        return true;
    };
}

bool setJobs(SuiteOptions& options, const std::string& value, std::string& error) {
    const auto number = parseNumber<int>(value);
    if (!number || *number < 1 || *number > 64) {
        error = "--jobs takes a number from 1 to 64, not '" + value + "'";
        return false;
    }
    options.jobs = *number;
    return true;
}

bool setShard(SuiteOptions& options, const std::string& value, std::string& error) {
    const std::size_t slash = value.find('/');
    const auto shard = parseNumber<int>(value.substr(0, slash));
    const auto shards =
        slash == std::string::npos ? std::nullopt : parseNumber<int>(value.substr(slash + 1));
    if (!shard || !shards || *shard < 1 || *shard > *shards) {
        error = "--shard takes K/N with 1 <= K <= N, not '" + value + "'";
        return false;
    }
    options.shard = *shard;
    options.shards = *shards;
    return true;
}

bool setCases(SuiteOptions& options, const std::string& value, std::string& error) {
    std::size_t from = 0;
    while (from <= value.size()) {
        const std::size_t comma = std::min(value.find(',', from), value.size());
        const auto position = parseNumber<std::size_t>(value.substr(from, comma - from));
        if (!position) {
            error = "--cases takes case positions separated by commas";
            return false;
        }
        options.cases.push_back(*position);
        from = comma + 1;
    }
    return true;
}

const std::map<std::string, Setter>& valueOptions() {
    static const std::set<int32_t> voice{1, 2, 3, 4, 5, 6, 7, 8, 9};
    static const std::map<std::string, Setter> options{
        {"--reference", pathSetter(&SuiteOptions::referencePath)},
        {"--json", pathSetter(&SuiteOptions::jsonPath)},
        {"--junit", pathSetter(&SuiteOptions::junitPath)},
        {"--html", pathSetter(&SuiteOptions::htmlPath)},
        {"--engine", pathSetter(&SuiteOptions::enginePath)},
        {"--into", pathSetter(&SuiteOptions::renderFolder)},
        {"--jobs", setJobs},
        {"--shard", setShard},
        {"--cases", setCases},
        {"--volume", voiceSetter(&suite::SettingOverrides::volume, "--volume", voice)},
        {"--pitch", voiceSetter(&suite::SettingOverrides::pitch, "--pitch", voice)},
        {"--rate", voiceSetter(&suite::SettingOverrides::rate, "--rate", voice)},
        {"--speaker", voiceSetter(&suite::SettingOverrides::speaker, "--speaker", voice)},
        {"--frequency",
         voiceSetter(&suite::SettingOverrides::frequency, "--frequency", {7, 8, 10, 11})},
        {"--dictionary",
         [](SuiteOptions& target, const std::string& value, std::string&) {
             target.overrides.dictionaries.emplace_back(value);
             return true;
         }},
        {"--duration-tolerance",
         toleranceSetter(&suite::Tolerances::durationPercent, "--duration-tolerance")},
        {"--onset-tolerance", toleranceSetter(&suite::Tolerances::onsetMs, "--onset-tolerance")},
        {"--spectral-threshold",
         toleranceSetter(&suite::Tolerances::spectralDb, "--spectral-threshold")},
    };
    return options;
}

std::optional<SuiteOptions::Action> actionNamed(const std::string& name) {
    static const std::map<std::string, SuiteOptions::Action> actions{
        {"record", SuiteOptions::Action::Record},
        {"check", SuiteOptions::Action::Check},
        {"merge", SuiteOptions::Action::Merge},
        {"render", SuiteOptions::Action::Render}};
    const auto found = actions.find(name);
    return found != actions.end() ? std::optional(found->second) : std::nullopt;
}

// Whether the options make sense for their action; `error` says why not.
bool complete(const SuiteOptions& options, std::string& error) {
    using Action = SuiteOptions::Action;
    if (options.action == Action::Merge) {
        error = options.reportPaths.empty() ? "suite merge takes the reports to merge" : "";
    } else if (options.suitePath.empty()) {
        error = "give the suite file";
    } else if (options.action == Action::Render && options.renderFolder.empty()) {
        error = "suite render takes --into FOLDER";
    } else if (options.action != Action::Render && options.referencePath.empty()) {
        error = "give the reference folder with --reference DIR";
    } else if (options.action == Action::Record && options.shards != 1) {
        error = "suite record takes no --shard: record the whole suite";
    }
    return error.empty();
}

bool addPositional(SuiteOptions& options, const std::string& argument, std::string& error) {
    if (options.action == SuiteOptions::Action::Merge) {
        options.reportPaths.push_back(argument);
        return true;
    }
    if (!options.suitePath.empty()) {
        error = "unexpected argument '" + argument + "'";
        return false;
    }
    options.suitePath = argument;
    return true;
}

}  // namespace

std::optional<SuiteOptions> parseSuiteOptions(const std::vector<std::string>& arguments,
                                              std::string& error) {
    if (arguments.empty() || !actionNamed(arguments.front())) {
        error = "suite takes record, check or merge";
        return std::nullopt;
    }
    SuiteOptions options;
    options.action = *actionNamed(arguments.front());
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--update" || name == "--no-progress") {
            (name == "--update" ? options.update : options.progress) = name == "--update";
            continue;
        }
        const auto setter = valueOptions().find(name);
        if (setter == valueOptions().end()) {
            if (name.rfind("--", 0) == 0) {
                error = "unknown option '" + name + "'";
                return std::nullopt;
            }
            if (!addPositional(options, name, error)) {
                return std::nullopt;
            }
            continue;
        }
        if (!value && i + 1 >= arguments.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        if (!setter->second(options, value ? *value : arguments[++i], error)) {
            return std::nullopt;
        }
    }
    if (!complete(options, error)) {
        return std::nullopt;
    }
    return options;
}

std::vector<std::string> renderArguments(const SuiteOptions& options) {
    std::vector<std::string> arguments;
    const auto add = [&](const char* name, const std::optional<int32_t>& value) {
        if (value) {
            arguments.insert(arguments.end(), {name, std::to_string(*value)});
        }
    };
    add("--volume", options.overrides.volume);
    add("--pitch", options.overrides.pitch);
    add("--rate", options.overrides.rate);
    add("--speaker", options.overrides.speaker);
    add("--frequency", options.overrides.frequency);
    for (const auto& dictionary : options.overrides.dictionaries) {
        arguments.insert(arguments.end(), {"--dictionary", dictionary.string()});
    }
    if (!options.enginePath.empty()) {
        arguments.insert(arguments.end(), {"--engine", options.enginePath});
    }
    return arguments;
}

const char* suiteUsageText() {
    return "Usage: voxtrial-cli suite record SUITE --reference DIR [--update] [OPTIONS]\n"
           "       voxtrial-cli suite check SUITE --reference DIR [OPTIONS]\n"
           "       voxtrial-cli suite merge REPORT.json... [--json F] [--junit F] [--html F]\n"
           "\n"
           "A suite is a text file (one case per line, '#' comments, '# language: de' sets the\n"
           "language of the lines after it) or a JSON file of cases. record keeps what the\n"
           "engine says for every case; check says it again and compares.\n"
           "\n"
           "  --reference DIR        the reference folder\n"
           "  --update               record over an existing reference\n"
           "  --jobs N               render with N processes (default: one per core)\n"
           "  --shard K/N            check only shard K of N (every N-th case from the K-th)\n"
           "  --json F  --junit F  --html F\n"
           "                         write the report as JSON, JUnit XML or an HTML page\n"
           "  --duration-tolerance P (default 5 %)  --onset-tolerance MS (default 40)\n"
           "  --spectral-threshold DB (default 6)\n"
           "  --volume N --pitch N --rate N --speaker N --frequency CODE --dictionary FILE\n"
           "                         apply to every case on top of its own settings\n"
           "  --engine PATH          the engine library\n"
           "  --no-progress          no progress bar\n"
           "\n"
           "Exit status: 0 when nothing changed, 1 when a case changed, 2 for errors.\n";
}

}  // namespace cli
