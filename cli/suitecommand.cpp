#include "suitecommand.h"

#include <unistd.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <sstream>

#include "common/codepage.h"
#include "common/replacementfile.h"
#include "suite/reference.h"
#include "suite/report.h"
#include "suitejobs.h"
#include "suiteoptions.h"
#include "suitesupport.h"

namespace cli {
namespace {

constexpr int kExitError = 2;
constexpr int kExitInterrupted = 130;

int fail(const std::string& message) {
    std::fprintf(stderr, "voxtrial-cli: %s\n", message.c_str());
    return kExitError;
}

int stopped() {
    std::fputs("voxtrial-cli: stopped\n", stderr);
    return kExitInterrupted;
}

std::optional<suite::Suite> loadedSuite(const SuiteOptions& options) {
    suite::LoadedSuite loaded = suite::loadSuite(options.suitePath);
    if (!loaded.suite) {
        fail(loaded.error);
        return std::nullopt;
    }
    for (const auto& dictionary : options.overrides.dictionaries) {
        if (!std::filesystem::is_regular_file(dictionary)) {
            fail(dictionary.string() + ": no such dictionary");
            return std::nullopt;
        }
    }
    suite::applyOverrides(*loaded.suite, options.overrides);
    return std::move(loaded.suite);
}

std::map<std::size_t, std::string> renderAll(const SuiteOptions& options,
                                             const std::vector<std::size_t>& positions,
                                             const std::filesystem::path& folder) {
    std::vector<std::string> arguments{options.suitePath};
    const std::vector<std::string> engine = renderArguments(options);
    arguments.insert(arguments.end(), engine.begin(), engine.end());
    const SuiteJobs jobs(arguments, SuiteJobs::jobCount(options.jobs, positions.size()),
                         stopRequested());
    const ProgressBar bar(positions.size(), options.progress);
    return jobs.render(positions, folder, [&bar](std::size_t done) { bar.show(done); });
}

// The engine's account of itself, once the suite's languages are known to be its own.
std::optional<suite::EngineIdentity> checkedEngine(const SuiteOptions& options,
                                                   const suite::Suite& suite) {
    const suite::CaseRenderer renderer(options.enginePath);
    if (!renderer.openError().empty()) {
        fail(renderer.openError());
        return std::nullopt;
    }
    for (const suite::SuiteCase& suiteCase : suite.cases) {
        if (!renderer.knowsLanguage(suiteCase.settings.language)) {
            fail(options.suitePath + ": case " + suiteCase.id + ": unknown language \"" +
                 suiteCase.settings.language + "\" (voxtrial-cli --list-languages lists them)");
            return std::nullopt;
        }
    }
    return renderer.identity();
}

std::string displayText(const std::string& engineText) {
    std::string text = common::toUtf8(engineText, common::CodePage::Ansi1252);
    std::replace(text.begin(), text.end(), '\x1b', '~');
    return text;
}

// Puts the new reference in the old one's place: the old is moved aside first and removed
// only once the new one is in place.
bool replaceReference(TemporaryFolder& recorded, const std::filesystem::path& target) {
    std::error_code error;
    TemporaryFolder old(target);
    if (std::filesystem::exists(target)) {
        std::filesystem::remove(old.path(), error);
        std::filesystem::rename(target, old.path(), error);
        if (error) {
            return false;
        }
    }
    std::filesystem::rename(recorded.path(), target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::rename(old.path(), target, ignored);
        old.keep();
        return false;
    }
    recorded.keep();
    return true;
}

int record(const SuiteOptions& options) {
    const std::optional<suite::Suite> suite = loadedSuite(options);
    if (!suite) {
        return kExitError;
    }
    const std::filesystem::path target = options.referencePath;
    std::error_code error;
    if (std::filesystem::exists(target) && !std::filesystem::is_empty(target, error) &&
        !options.update) {
        return fail(target.string() + " already holds a reference; give --update to replace it");
    }
    const std::optional<suite::EngineIdentity> engine = checkedEngine(options, *suite);
    if (!engine) {
        return kExitError;
    }
    TemporaryFolder recorded(std::filesystem::absolute(target, error));
    if (recorded.path().empty()) {
        return fail("cannot create a folder beside " + target.string());
    }
    std::vector<std::size_t> positions(suite->cases.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    const std::map<std::size_t, std::string> failures =
        renderAll(options, positions, recorded.path());
    if (stopRequested()) {
        return stopped();
    }
    for (const auto& [position, why] : failures) {
        std::fprintf(stderr, "voxtrial-cli: case %s: %s\n", suite->cases[position].id.c_str(),
                     why.c_str());
    }
    if (!failures.empty()) {
        return fail("nothing recorded: " + std::to_string(failures.size()) + " cases failed");
    }
    const std::string written =
        suite::writeManifest(recorded.path(), suite::manifestOf(*suite, *engine));
    if (!written.empty()) {
        return fail(written);
    }
    if (!replaceReference(recorded, target)) {
        return fail("cannot put the reference in place at " + target.string());
    }
    std::printf("recorded %zu cases of suite \"%s\" into %s\n", suite->cases.size(),
                suite->name.c_str(), target.string().c_str());
    return 0;
}

std::string renderCase(suite::CaseRenderer& renderer, const SuiteOptions& options,
                       std::size_t position, const suite::SuiteCase& suiteCase) {
    suite::RenderOutcome outcome = renderer.render(suiteCase);
    return outcome.rendering ? suite::writeCaseFiles(options.renderFolder,
                                                     suite::caseFileStem(position, suiteCase.id),
                                                     suiteCase, *outcome.rendering)
                             : outcome.error;
}

void reportRendered(std::size_t position, const std::string& error) {
    const std::string line = renderedLine(position, error);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// Renders a case in a copy of this process, so that every case starts from the engine's state
// as it is now: eSpeak NG carries state from one text to the next, and a case would otherwise
// sound a little different after other predecessors (another job count or shard). The copy is
// made between cases, when the engine's only other thread (eSpeak NG's, idle in synchronous
// mode) holds nothing.
void renderInCopy(suite::CaseRenderer& renderer, const SuiteOptions& options, std::size_t position,
                  const suite::SuiteCase& suiteCase) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        reportRendered(position, renderCase(renderer, options, position, suiteCase));
        _exit(0);
    }
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (child < 0) {
        reportRendered(position, "cannot start a renderer");
    } else if (WIFSIGNALED(status)) {
        reportRendered(position, std::string("the renderer was ended by signal ") +
                                     std::to_string(WTERMSIG(status)));
    } else if (WEXITSTATUS(status) != 0) {
        reportRendered(
            position, "the renderer ended with exit status " + std::to_string(WEXITSTATUS(status)));
    }
}

int render(const SuiteOptions& options) {
    const std::optional<suite::Suite> suite = loadedSuite(options);
    if (!suite) {
        return kExitError;
    }
    suite::CaseRenderer renderer(options.enginePath);
    for (const std::size_t position : options.cases) {
        if (position >= suite->cases.size()) {
            reportRendered(position, "no such case");
        } else {
            renderInCopy(renderer, options, position, suite->cases[position]);
        }
    }
    return 0;
}

// Writes each report the options ask for; false when one could not be written.
bool writeReports(const SuiteOptions& options, const suite::SuiteReport& report) {
    const std::pair<const std::string*, std::string (*)(const suite::SuiteReport&)> reports[] = {
        {&options.jsonPath, suite::reportJson},
        {&options.junitPath, suite::reportJunit},
        {&options.htmlPath, suite::reportHtml}};
    bool written = true;
    for (const auto& [path, format] : reports) {
        if (!path->empty() && common::ReplacementFile::replace(*path, format(report)) !=
                                  common::ReplacementFile::Status::Ok) {
            fail("cannot write " + *path);
            written = false;
        }
    }
    return written;
}

int finish(const SuiteOptions& options, const suite::SuiteReport& report) {
    std::fputs(suite::reportSummary(report).c_str(), stdout);
    std::fflush(stdout);
    return writeReports(options, report) ? suite::exitStatusOf(report) : kExitError;
}

// Where a check keeps the new audio of changed cases, for a person to hear: beside the JSON
// report, in a folder named after it.
std::filesystem::path keptAudioFolder(const SuiteOptions& options) {
    if (options.jsonPath.empty()) {
        return {};
    }
    std::filesystem::path report = std::filesystem::absolute(options.jsonPath);
    return report.parent_path() / (report.stem().string() + "-audio");
}

// Compares the case at `position`, rendered into `rendered`, with its reference.
suite::CaseResult checkCase(const SuiteOptions& options, const suite::SuiteCase& suiteCase,
                            std::size_t position, const suite::Manifest::Entry& entry,
                            const std::filesystem::path& rendered) {
    suite::CaseResult failed;
    failed.status = suite::CaseStatus::Failed;
    const std::filesystem::path reference = std::filesystem::absolute(options.referencePath);
    std::string error;
    const std::string stem = suite::caseFileStem(position, suiteCase.id);
    const std::optional<suite::Rendering> before =
        suite::readCaseFiles(reference, entry.file, error);
    const std::optional<suite::Rendering> after =
        before ? suite::readCaseFiles(rendered, stem, error) : std::nullopt;
    if (!after) {
        failed.error = error;
        return failed;
    }
    suite::CaseResult result = suite::compareRenderings(*before, *after, options.tolerances);
    const std::filesystem::path kept = keptAudioFolder(options);
    if (result.before && !kept.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(kept, ignored);
        std::filesystem::copy_file(rendered / (stem + ".flac"), kept / (stem + ".flac"),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
        result.before->audio = (reference / (entry.file + ".flac")).string();
        result.after->audio = (kept / (stem + ".flac")).string();
    }
    return result;
}

// The reference's entry for a case, or why the case cannot be checked against it.
const suite::Manifest::Entry* referenceEntry(const suite::Manifest& manifest,
                                             const suite::SuiteCase& suiteCase,
                                             std::string& error) {
    const auto entry = std::find_if(manifest.cases.begin(), manifest.cases.end(),
                                    [&](const auto& e) { return e.id == suiteCase.id; });
    if (entry == manifest.cases.end()) {
        error = "not in the reference (record it again with --update)";
        return nullptr;
    }
    if (entry->fingerprint != suite::caseFingerprint(suiteCase)) {
        error =
            "its text or language differs from the reference's (record it again with "
            "--update)";
        return nullptr;
    }
    return &*entry;
}

int checkSuite(const SuiteOptions& options) {
    const std::optional<suite::Suite> suite = loadedSuite(options);
    if (!suite) {
        return kExitError;
    }
    std::string error;
    const std::optional<suite::Manifest> manifest =
        suite::readManifest(options.referencePath, error);
    if (!manifest) {
        return fail(error);
    }
    if (manifest->suiteName != suite->name) {
        return fail(options.referencePath + " is a reference of suite \"" + manifest->suiteName +
                    "\", not of \"" + suite->name + "\"");
    }
    const std::optional<suite::EngineIdentity> engine = checkedEngine(options, *suite);
    if (!engine) {
        return kExitError;
    }
    const TemporaryFolder rendered;
    if (rendered.path().empty()) {
        return fail("cannot create a temporary folder");
    }
    const std::vector<std::size_t> positions =
        suite::shardCases(suite->cases.size(), options.shard, options.shards);
    const std::map<std::size_t, std::string> failures =
        renderAll(options, positions, rendered.path());
    if (stopRequested()) {
        return stopped();
    }
    suite::SuiteReport report{suite->name, suite->cases.size(), manifest->engine,
                              *engine,     options.tolerances,  {}};
    for (const std::size_t position : positions) {
        const suite::SuiteCase& suiteCase = suite->cases[position];
        suite::CaseResult result;
        result.status = suite::CaseStatus::Failed;
        const suite::Manifest::Entry* entry = referenceEntry(*manifest, suiteCase, result.error);
        if (const auto failure = failures.find(position); failure != failures.end()) {
            result.error = failure->second;
        } else if (entry != nullptr) {
            result = checkCase(options, suiteCase, position, *entry, rendered.path());
        }
        result.position = position;
        result.id = suiteCase.id;
        result.text = displayText(suiteCase.text);
        report.cases.push_back(std::move(result));
    }
    return finish(options, report);
}

int mergeReports(const SuiteOptions& options) {
    std::vector<suite::SuiteReport> shards;
    for (const std::string& path : options.reportPaths) {
        std::string error;
        std::optional<suite::SuiteReport> report = suite::readReportFile(path, error);
        if (!report) {
            return fail(error.insert(0, path + " is not a suite report: "));
        }
        shards.push_back(std::move(*report));
    }
    std::string error;
    const std::optional<suite::SuiteReport> merged = suite::mergeReports(std::move(shards), error);
    return merged ? finish(options, *merged) : fail(error);
}

}  // namespace

int runSuiteCommand(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(suiteUsageText(), stdout);
        return 0;
    }
    std::string error;
    const std::optional<SuiteOptions> options = parseSuiteOptions(arguments, error);
    if (!options) {
        std::fprintf(stderr, "voxtrial-cli: %s\n\n%s", error.c_str(), suiteUsageText());
        return kExitError;
    }
    const StopSignals signals;
    switch (options->action) {
        case SuiteOptions::Action::Record:
            return record(*options);
        case SuiteOptions::Action::Render:
            return render(*options);
        case SuiteOptions::Action::Check:
            return checkSuite(*options);
        case SuiteOptions::Action::Merge:
            return mergeReports(*options);
    }
    return kExitError;
}

}  // namespace cli
