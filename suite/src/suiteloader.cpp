#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "common/codepage.h"
#include "suite/suite.h"

namespace suite {
namespace {

using nlohmann::json;

constexpr char kEscape = 27;
constexpr std::size_t kMaxCaseBytes = std::size_t{1} << 20;

// Why a suite cannot be used; thrown inside this file only and turned into LoadedSuite::error.
struct SuiteError {
    std::string message;
};

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path)) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A suite's UTF-8 text in the engine's form: Windows-1252, '~' the escape of engine commands.
std::string engineText(const std::string& utf8, const std::string& where) {
    std::optional<std::string> text = common::fromUtf8Exact(utf8, common::CodePage::Ansi1252);
    if (!text) {
        throw SuiteError{where + ": the text has characters outside Windows-1252"};
    }
    std::replace(text->begin(), text->end(), '~', kEscape);
    if (text->empty() || text->size() > kMaxCaseBytes) {
        throw SuiteError{where + ": a case needs a text of 1 byte to 1 MiB"};
    }
    return *text;
}

int32_t voiceValue(const json& value, const std::string& name, const std::string& where) {
    if (!value.is_number_integer() || value.get<int64_t>() < 1 || value.get<int64_t>() > 9) {
        throw SuiteError{where + ": \"" + name + "\" takes a whole number from 1 to 9"};
    }
    return value.get<int32_t>();
}

void readSettings(const json& object, const std::filesystem::path& folder, CaseSettings& settings,
                  const std::string& where) {
    for (const auto& [name, value] : object.items()) {
        if (name == "language") {
            if (!value.is_string()) {
                throw SuiteError{where + ": \"language\" takes a code such as \"en-us\""};
            }
            settings.language = value.get<std::string>();
        } else if (name == "speaker") {
            settings.speaker = voiceValue(value, name, where);
        } else if (name == "volume") {
            settings.volume = voiceValue(value, name, where);
        } else if (name == "pitch") {
            settings.pitch = voiceValue(value, name, where);
        } else if (name == "rate") {
            settings.rate = voiceValue(value, name, where);
        } else if (name == "frequency") {
            const std::set<int64_t> codes{7, 8, 10, 11};
            if (!value.is_number_integer() || codes.count(value.get<int64_t>()) == 0) {
                throw SuiteError{where + ": \"frequency\" takes 7, 8, 10 or 11"};
            }
            settings.frequency = value.get<int32_t>();
        } else if (name == "system_mode") {
            if (!value.is_number_integer() || value.get<int64_t>() < 0 ||
                value.get<int64_t>() > 0xFFFF) {
                throw SuiteError{where + ": \"system_mode\" takes the engine's mode bits"};
            }
            settings.systemMode = value.get<int32_t>();
        } else if (name == "dictionaries") {
            if (!value.is_array()) {
                throw SuiteError{where + ": \"dictionaries\" takes a list of files"};
            }
            settings.dictionaries.clear();
            for (const json& file : value) {
                if (!file.is_string()) {
                    throw SuiteError{where + ": \"dictionaries\" takes a list of files"};
                }
                settings.dictionaries.push_back(folder / file.get<std::string>());
            }
        }
    }
}

SuiteCase readCase(const json& entry, std::size_t position, const std::filesystem::path& folder,
                   const CaseSettings& defaults) {
    std::string where = "case " + std::to_string(position + 1);
    if (!entry.is_object()) {
        throw SuiteError{where + ": a case is an object with an \"id\" and a \"text\""};
    }
    SuiteCase result;
    result.id = std::to_string(position + 1);
    if (const auto id = entry.find("id"); id != entry.end()) {
        if (!id->is_string() || id->get<std::string>().empty()) {
            throw SuiteError{where + ": \"id\" takes a name"};
        }
        result.id = id->get<std::string>();
        where = "case \"" + result.id + "\"";
    }
    result.settings = defaults;
    readSettings(entry, folder, result.settings, where);
    const auto text = entry.find("text");
    const auto textFile = entry.find("text_file");
    if ((text == entry.end()) == (textFile == entry.end())) {
        throw SuiteError{where + ": give either \"text\" or \"text_file\""};
    }
    if (text != entry.end()) {
        if (!text->is_string()) {
            throw SuiteError{where + ": \"text\" takes a string"};
        }
        result.text = engineText(text->get<std::string>(), where);
        return result;
    }
    const std::filesystem::path file = folder / textFile->get<std::string>();
    const std::optional<std::string> bytes = readFile(file);
    if (!bytes) {
        throw SuiteError{where + ": cannot read the text file " + file.string()};
    }
    result.text = engineText(*bytes, where);
    return result;
}

Suite readJsonSuite(const std::string& bytes, const std::filesystem::path& path) {
    json document;
    try {
        document = json::parse(bytes);
    } catch (const json::parse_error& error) {
        throw SuiteError{"malformed JSON: " + std::string(error.what())};
    }
    Suite suite{path.stem().string(), {}};
    const json* cases = &document;
    CaseSettings defaults;
    const std::filesystem::path folder = path.parent_path();
    if (document.is_object()) {
        if (const auto name = document.find("name"); name != document.end() && name->is_string()) {
            suite.name = name->get<std::string>();
        }
        if (const auto given = document.find("defaults"); given != document.end()) {
            if (!given->is_object()) {
                throw SuiteError{"\"defaults\" takes an object of settings"};
            }
            readSettings(*given, folder, defaults, "defaults");
        }
        const auto found = document.find("cases");
        cases = found != document.end() ? &*found : nullptr;
    }
    if (cases == nullptr || !cases->is_array()) {
        throw SuiteError{"a JSON suite is a list of cases, or an object with a \"cases\" list"};
    }
    for (std::size_t i = 0; i < cases->size(); ++i) {
        suite.cases.push_back(readCase((*cases)[i], i, folder, defaults));
    }
    return suite;
}

Suite readTextSuite(const std::string& bytes, const std::filesystem::path& path) {
    Suite suite{path.stem().string(), {}};
    CaseSettings settings;
    std::istringstream lines(bytes);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) {
            continue;
        }
        if (line[first] == '#') {
            constexpr std::string_view kLanguage = "language:";
            const std::size_t key = line.find_first_not_of(" \t#", first);
            if (key != std::string::npos && line.compare(key, kLanguage.size(), kLanguage) == 0) {
                std::istringstream(line.substr(key + kLanguage.size())) >> settings.language;
            }
            continue;
        }
        const std::string id = std::to_string(number);
        suite.cases.push_back({id, engineText(line, "line " + id), settings});
    }
    return suite;
}

void checkUniqueIds(const Suite& suite) {
    std::set<std::string> seen;
    for (const SuiteCase& suiteCase : suite.cases) {
        if (!seen.insert(suiteCase.id).second) {
            throw SuiteError{"two cases have the id \"" + suiteCase.id + "\""};
        }
    }
    if (suite.cases.empty()) {
        throw SuiteError{"the suite has no cases"};
    }
}

uint64_t fnv1a(std::string_view bytes, uint64_t hash) {
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

LoadedSuite loadSuite(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = readFile(path);
    if (!bytes) {
        return {std::nullopt, path.string() + ": cannot read the suite"};
    }
    try {
        Suite suite =
            path.extension() == ".json" ? readJsonSuite(*bytes, path) : readTextSuite(*bytes, path);
        checkUniqueIds(suite);
        return {std::move(suite), {}};
    } catch (const SuiteError& error) {
        return {std::nullopt, path.string() + ": " + error.message};
    }
}

void applyOverrides(Suite& suite, const SettingOverrides& overrides) {
    for (SuiteCase& suiteCase : suite.cases) {
        CaseSettings& settings = suiteCase.settings;
        settings.speaker = overrides.speaker.value_or(settings.speaker);
        settings.volume = overrides.volume.value_or(settings.volume);
        settings.pitch = overrides.pitch.value_or(settings.pitch);
        settings.rate = overrides.rate.value_or(settings.rate);
        settings.frequency = overrides.frequency.value_or(settings.frequency);
        settings.dictionaries.insert(settings.dictionaries.end(), overrides.dictionaries.begin(),
                                     overrides.dictionaries.end());
    }
}

std::vector<std::size_t> shardCases(std::size_t caseCount, int shard, int shards) {
    std::vector<std::size_t> positions;
    for (std::size_t i = static_cast<std::size_t>(shard - 1); i < caseCount;
         i += static_cast<std::size_t>(shards)) {
        positions.push_back(i);
    }
    return positions;
}

std::string caseFingerprint(const SuiteCase& suiteCase) {
    const uint64_t hash =
        fnv1a(suiteCase.settings.language + '\n', fnv1a(suiteCase.text, 0xcbf29ce484222325ULL));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

}  // namespace suite
