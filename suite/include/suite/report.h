#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "suite/comparison.h"
#include "suite/rendering.h"

namespace suite {

// What a check of a suite (or of a shard of it) found, case by case in suite order.
struct SuiteReport {
    std::string suiteName;
    std::size_t suiteCases = 0;  // cases in the whole suite, whatever the shard
    EngineIdentity referenceEngine;
    EngineIdentity checkedEngine;
    Tolerances tolerances;
    std::vector<CaseResult> cases;

    bool operator==(const SuiteReport&) const = default;
    std::size_t count(CaseStatus status) const;
};

// The exit status of a check: 0 when every case passed, 1 when some changed, 2 when some
// failed.
int exitStatusOf(const SuiteReport& report);

// The JSON report: an object with the suite, the tolerances, the counts and a "cases" array,
// each case with its "id", "status" ("pass", "changed" or "failed") and what changed.
std::string reportJson(const SuiteReport& report);
// Reads a JSON report back (to merge shards); nullopt with `error` saying what is wrong when it
// is not one.
std::optional<SuiteReport> readReportJson(const std::string& bytes, std::string& error);
// Reads a JSON report from a file; `error` says why not when it cannot.
std::optional<SuiteReport> readReportFile(const std::filesystem::path& path, std::string& error);
// Joins the reports of the shards of one suite into the report of the whole; nullopt with
// `error` when they come from different suites or share a case.
std::optional<SuiteReport> mergeReports(std::vector<SuiteReport> shards, std::string& error);

// The cases that did not pass, the worst first: failures, then by how much changed.
std::vector<const CaseResult*> casesWorstFirst(const SuiteReport& report);

// The terminal summary: the changed and failed cases, the worst first, then the counts.
std::string reportSummary(const SuiteReport& report);
// JUnit XML: a test case per suite case, a changed one a failure, a failed one an error.
std::string reportJunit(const SuiteReport& report);
// A self-contained HTML page: the counts, and for each changed case both waveforms with their
// word marks, the changed words highlighted and their IPA side by side.
std::string reportHtml(const SuiteReport& report);

}  // namespace suite
