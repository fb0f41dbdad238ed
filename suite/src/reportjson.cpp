#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "suite/report.h"

namespace suite {
namespace {

using nlohmann::json;

constexpr int kReportFormat = 1;

json engineJson(const EngineIdentity& engine) {
    return {{"manufacturer", engine.manufacturer}, {"version", engine.version}};
}

EngineIdentity engineFrom(const json& value) {
    return {value.at("manufacturer").get<std::string>(), value.at("version").get<std::string>()};
}

template <typename T>
json optionalJson(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

template <typename T>
std::optional<T> optionalFrom(const json& value) {
    return value.is_null() ? std::nullopt : std::optional<T>(value.get<T>());
}

json wordChangeJson(const WordChange& change) {
    json kinds = json::array();
    for (const auto& [flag, name] : {std::pair{change.phonemesChanged, "phonemes"},
                                     {change.onsetChanged, "onset"},
                                     {change.soundChanged, "sound"},
                                     {change.markChanged, "mark"}}) {
        if (flag) {
            kinds.push_back(name);
        }
    }
    return {{"start", change.start},
            {"text", change.text},
            {"changes", kinds},
            {"ipa_before", change.ipaBefore},
            {"ipa_after", change.ipaAfter},
            {"onset_before_ms", optionalJson(change.onsetBefore)},
            {"onset_after_ms", optionalJson(change.onsetAfter)},
            {"spectral_db", optionalJson(change.spectralDb)}};
}

WordChange wordChangeFrom(const json& value) {
    WordChange change{value.at("start").get<int32_t>(),
                      value.at("text").get<std::string>(),
                      value.at("ipa_before").get<std::string>(),
                      value.at("ipa_after").get<std::string>(),
                      optionalFrom<double>(value.at("onset_before_ms")),
                      optionalFrom<double>(value.at("onset_after_ms")),
                      optionalFrom<double>(value.at("spectral_db"))};
    const std::set<std::string> kinds = value.at("changes").get<std::set<std::string>>();
    change.phonemesChanged = kinds.count("phonemes") != 0;
    change.onsetChanged = kinds.count("onset") != 0;
    change.soundChanged = kinds.count("sound") != 0;
    change.markChanged = kinds.count("mark") != 0;
    return change;
}

json shownJson(const ShownRendering& shown) {
    json words = json::array();
    for (const PlacedWord& word : shown.words) {
        words.push_back({{"start", word.start},
                         {"text", word.text},
                         {"begin", word.begin},
                         {"end", word.end},
                         {"changed", word.changed}});
    }
    return {{"audio", shown.audio},
            {"sample_rate", shown.envelope.sampleRate},
            {"samples", shown.envelope.samples},
            {"envelope_low", shown.envelope.low},
            {"envelope_high", shown.envelope.high},
            {"words", words}};
}

ShownRendering shownFrom(const json& value) {
    ShownRendering shown{
        value.at("audio").get<std::string>(),
        {value.at("sample_rate").get<int32_t>(), value.at("samples").get<int64_t>(),
         value.at("envelope_low").get<std::vector<int16_t>>(),
         value.at("envelope_high").get<std::vector<int16_t>>()},
        {}};
    for (const json& word : value.at("words")) {
        shown.words.push_back({word.at("start").get<int32_t>(), word.at("text").get<std::string>(),
                               word.at("begin").get<int64_t>(), word.at("end").get<int64_t>(),
                               word.at("changed").get<bool>()});
    }
    return shown;
}

json caseJson(const CaseResult& result) {
    json value{{"id", result.id},
               {"position", result.position},
               {"text", result.text},
               {"status", statusName(result.status)}};
    if (result.status == CaseStatus::Failed) {
        value["error"] = result.error;
        return value;
    }
    value["duration_ms"] = {{"before", result.durationBefore},
                            {"after", result.durationAfter},
                            {"changed", result.durationChanged}};
    json words = json::array();
    for (const WordChange& change : result.words) {
        words.push_back(wordChangeJson(change));
    }
    value["words"] = words;
    if (result.before && result.after) {
        value["before"] = shownJson(*result.before);
        value["after"] = shownJson(*result.after);
    }
    return value;
}

CaseStatus statusFrom(const std::string& name) {
    for (const CaseStatus status : {CaseStatus::Pass, CaseStatus::Changed, CaseStatus::Failed}) {
        if (name == statusName(status)) {
            return status;
        }
    }
    throw json::other_error::create(501, "unknown status " + name, nullptr);
}

CaseResult caseFrom(const json& value) {
    CaseResult result;
    result.id = value.at("id").get<std::string>();
    result.position = value.at("position").get<std::size_t>();
    result.text = value.at("text").get<std::string>();
    result.status = statusFrom(value.at("status").get<std::string>());
    if (result.status == CaseStatus::Failed) {
        result.error = value.at("error").get<std::string>();
        return result;
    }
    const json& duration = value.at("duration_ms");
    result.durationBefore = duration.at("before").get<double>();
    result.durationAfter = duration.at("after").get<double>();
    result.durationChanged = duration.at("changed").get<bool>();
    for (const json& word : value.at("words")) {
        result.words.push_back(wordChangeFrom(word));
    }
    if (value.contains("before")) {
        result.before = shownFrom(value.at("before"));
        result.after = shownFrom(value.at("after"));
    }
    return result;
}

}  // namespace

std::size_t SuiteReport::count(CaseStatus status) const {
    return static_cast<std::size_t>(std::count_if(
        cases.begin(), cases.end(), [status](const CaseResult& c) { return c.status == status; }));
}

int exitStatusOf(const SuiteReport& report) {
    if (report.count(CaseStatus::Failed) > 0) {
        return 2;
    }
    return report.count(CaseStatus::Changed) > 0 ? 1 : 0;
}

std::string reportJson(const SuiteReport& report) {
    json cases = json::array();
    for (const CaseResult& result : report.cases) {
        cases.push_back(caseJson(result));
    }
    const json document{{"format", kReportFormat},
                        {"suite", report.suiteName},
                        {"suite_cases", report.suiteCases},
                        {"reference_engine", engineJson(report.referenceEngine)},
                        {"checked_engine", engineJson(report.checkedEngine)},
                        {"tolerances",
                         {{"duration_percent", report.tolerances.durationPercent},
                          {"onset_ms", report.tolerances.onsetMs},
                          {"spectral_db", report.tolerances.spectralDb}}},
                        {"counts",
                         {{"pass", report.count(CaseStatus::Pass)},
                          {"changed", report.count(CaseStatus::Changed)},
                          {"failed", report.count(CaseStatus::Failed)}}},
                        {"cases", cases}};
    return document.dump(1) + '\n';
}

std::optional<SuiteReport> readReportJson(const std::string& bytes, std::string& error) {
    try {
        const json document = json::parse(bytes);
        if (document.at("format").get<int>() != kReportFormat) {
            error = "a report of another format";
            return std::nullopt;
        }
        SuiteReport report;
        report.suiteName = document.at("suite").get<std::string>();
        report.suiteCases = document.at("suite_cases").get<std::size_t>();
        report.referenceEngine = engineFrom(document.at("reference_engine"));
        report.checkedEngine = engineFrom(document.at("checked_engine"));
        const json& tolerances = document.at("tolerances");
        report.tolerances = {tolerances.at("duration_percent").get<double>(),
                             tolerances.at("onset_ms").get<double>(),
                             tolerances.at("spectral_db").get<double>()};
        for (const json& value : document.at("cases")) {
            report.cases.push_back(caseFrom(value));
        }
        return report;
    } catch (const json::exception& failure) {
        error = failure.what();
        return std::nullopt;
    }
}

std::optional<SuiteReport> readReportFile(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) {
        error = "it cannot be read";
        return std::nullopt;
    }
    return readReportJson(bytes.str(), error);
}

std::optional<SuiteReport> mergeReports(std::vector<SuiteReport> shards, std::string& error) {
    if (shards.empty()) {
        error = "no reports to merge";
        return std::nullopt;
    }
    SuiteReport merged = shards.front();
    merged.cases.clear();
    std::set<std::size_t> positions;
    for (SuiteReport& shard : shards) {
        if (shard.suiteName != merged.suiteName || shard.suiteCases != merged.suiteCases) {
            error = "the reports come from different suites (\"" + merged.suiteName + "\" and \"" +
                    shard.suiteName + "\")";
            return std::nullopt;
        }
        for (CaseResult& result : shard.cases) {
            if (!positions.insert(result.position).second) {
                error = "case \"" + result.id + "\" is in more than one report";
                return std::nullopt;
            }
            merged.cases.push_back(std::move(result));
        }
    }
    std::sort(merged.cases.begin(), merged.cases.end(),
              [](const CaseResult& a, const CaseResult& b) { return a.position < b.position; });
    return merged;
}

}  // namespace suite
