#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>
#include <stdlib.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "clirunner.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A corpus of two languages; cases 2 and 5 hold the word "apples".
const std::string kCorpus =
    "# fruit and figures\n"
    "I have 3 apples and 2 pears.\n"
    "The year 1999 was long.\n"
    "Dr. Smith paid $45.50 on 12/03/2021.\n"
    "Apples are red; pears are green.\n"
    "Wait~P300 then go.\n"
    "# language: de\n"
    "Ich esse gern \xC3\x84pfel.\n"
    "Zweiundzwanzig Birnen.\n";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A folder with the corpus, removed afterwards; voxtrial-cli suite runs inside it.
class SuiteFolder {
  public:
    SuiteFolder() {
        std::string pattern = (fs::temp_directory_path() / "voxtrial-suite-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_dir = pattern;
        }
        write("corpus.txt", kCorpus);
    }
    ~SuiteFolder() { fs::remove_all(m_dir); }
    SuiteFolder(const SuiteFolder&) = delete;
    SuiteFolder& operator=(const SuiteFolder&) = delete;

    fs::path file(const std::string& name) const { return m_dir / name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    clitest::RunResult suite(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), "suite");
        arguments.emplace_back("--no-progress");
        return clitest::runCli(arguments, m_dir.string());
    }
    json report(const std::string& name) const {
        return json::parse(readFile(file(name)), nullptr, false);
    }

  private:
    fs::path m_dir;
};

// The ids of a report's cases with `status`.
std::set<std::string> casesWith(const json& report, const std::string& status) {
    std::set<std::string> ids;
    for (const json& result : report["cases"]) {
        if (result["status"] == status) {
            ids.insert(result["id"].get<std::string>());
        }
    }
    return ids;
}

TEST(SuiteCli, RecordThenCheckPassesInAnyJobCountAndShardsMergeIntoTheWholeRun) {
    const SuiteFolder folder;
    ASSERT_EQ(
        folder.suite({"record", "corpus.txt", "--reference", "ref", "--jobs", "2"}).exitStatus, 0);
    const clitest::RunResult whole = folder.suite(
        {"check", "corpus.txt", "--reference", "ref", "--jobs", "1", "--json", "w.json"});
    EXPECT_EQ(whole.exitStatus, 0) << whole.out << whole.err;
    EXPECT_EQ(whole.out, "7 cases: 7 pass, 0 changed, 0 failed\n");
    EXPECT_EQ(folder
                  .suite({"check", "corpus.txt", "--reference", "ref", "--shard", "1/2", "--jobs",
                          "3", "--json", "a.json"})
                  .exitStatus,
              0);
    EXPECT_EQ(folder
                  .suite({"check", "corpus.txt", "--reference", "ref", "--shard", "2/2", "--json",
                          "b.json"})
                  .exitStatus,
              0);
    const clitest::RunResult merged =
        folder.suite({"merge", "a.json", "b.json", "--json", "m.json"});
    EXPECT_EQ(merged.exitStatus, 0) << merged.err;
    EXPECT_EQ(folder.report("m.json"), folder.report("w.json"));
    EXPECT_EQ(folder.report("a.json")["cases"].size(), 4u);
}

TEST(SuiteCli, ADictionaryChangesExactlyTheCasesHoldingItsWordAndARateTheDurations) {
    const SuiteFolder folder;
    ASSERT_EQ(folder.suite({"record", "corpus.txt", "--reference", "ref"}).exitStatus, 0);
    folder.write("fruit.dct", "apples   oranges\n");
    const clitest::RunResult dictionary =
        folder.suite({"check", "corpus.txt", "--reference", "ref", "--dictionary", "fruit.dct",
                      "--json", "d.json"});
    EXPECT_EQ(dictionary.exitStatus, 1) << dictionary.err;
    const json report = folder.report("d.json");
    EXPECT_EQ(casesWith(report, "changed"), (std::set<std::string>{"2", "5"}));
    for (const json& result : report["cases"]) {
        std::set<std::string> phonemes;
        for (const json& word : result["words"]) {
            const auto kinds = word["changes"].get<std::set<std::string>>();
            if (kinds.count("phonemes") != 0) {
                phonemes.insert(word["text"].get<std::string>());
                EXPECT_NE(word["ipa_before"], word["ipa_after"]);
                EXPECT_NE(dictionary.out.find("/" + word["ipa_after"].get<std::string>() + "/"),
                          std::string::npos);
            }
        }
        EXPECT_EQ(phonemes.size(), result["status"] == "changed" ? 1u : 0u) << result.dump();
    }

    const clitest::RunResult rate = folder.suite(
        {"check", "corpus.txt", "--reference", "ref", "--rate", "8", "--json", "r.json"});
    EXPECT_EQ(rate.exitStatus, 1);
    const json faster = folder.report("r.json");
    EXPECT_EQ(casesWith(faster, "changed").size(), 7u);
    for (const json& result : faster["cases"]) {
        EXPECT_TRUE(result["duration_ms"]["changed"].get<bool>()) << result["id"];
        for (const json& word : result["words"]) {
            EXPECT_EQ(word["changes"].get<std::set<std::string>>().count("phonemes"), 0u)
                << word.dump();
        }
    }
}

TEST(SuiteCli, BadSuitesEndWithAMessageAndStatus2AndLeaveTheReferenceAlone) {
    const SuiteFolder folder;
    ASSERT_EQ(folder.suite({"record", "corpus.txt", "--reference", "ref"}).exitStatus, 0);
    const std::string manifest = readFile(folder.file("ref/manifest.json"));
    folder.write("corpus2.txt", "Hello.\n");
    folder.write("bad.json", "[{\"text\": \"a\"},\n {\"id\": 7 \"text\": \"b\"}]");
    folder.write("missing.json", R"([{"text_file": "gone.txt"}])");
    folder.write("tongue.txt", "# language: xx\nHello.\n");
    const std::vector<std::pair<std::vector<std::string>, std::string>> runs{
        {{"record", "corpus.txt", "--reference", "ref"},
         "ref already holds a reference; give --update to replace it"},
        {{"check", "corpus2.txt", "--reference", "ref"},
         "ref is a reference of suite \"corpus\", not of \"corpus2\""},
        {{"record", "bad.json", "--reference", "ref", "--update"},
         "parse error at line 2, column 16"},
        {{"check", "missing.json", "--reference", "ref"}, "cannot read the text file gone.txt"},
        {{"record", "tongue.txt", "--reference", "ref", "--update"},
         "case 2: unknown language \"xx\""},
        {{"check", "corpus.txt", "--reference", "nowhere"}, "nowhere holds no reference"},
        {{"check", "corpus.txt", "--reference", "ref", "--dictionary", "gone.dct"},
         "gone.dct: no such dictionary"},
        {{"check", "corpus.txt"}, "give the reference folder with --reference DIR"},
    };
    for (const auto& [arguments, message] : runs) {
        const clitest::RunResult run = folder.suite(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments[1];
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(readFile(folder.file("ref/manifest.json")), manifest);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.file(""))) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".std", 0) != 0) {  // the runner's own files
            left.insert(name);
        }
    }
    EXPECT_EQ(left, (std::set<std::string>{"bad.json", "corpus.txt", "corpus2.txt", "missing.json",
                                           "ref", "tongue.txt"}));
}

// The page is looked at the way a person would: in a browser, offline.
TEST(SuiteCli, TheHtmlReportOpensInChromiumWithoutConsoleMessages) {
    const char* browser = "/usr/bin/chromium-headless-shell";
    if (!fs::exists(browser)) {
        GTEST_SKIP() << "chromium-headless-shell is not installed";
    }
    const SuiteFolder folder;
    ASSERT_EQ(folder.suite({"record", "corpus.txt", "--reference", "ref"}).exitStatus, 0);
    folder.write("fruit.dct", "apples   oranges\n");
    ASSERT_EQ(folder
                  .suite({"check", "corpus.txt", "--reference", "ref", "--dictionary", "fruit.dct",
                          "--html", "page.html", "--junit", "junit.xml"})
                  .exitStatus,
              1);
    const std::string page = readFile(folder.file("page.html"));
    EXPECT_EQ(page.find("src="), std::string::npos);
    EXPECT_EQ(page.find("href="), std::string::npos);
    const fs::path shots = VOXTRIAL_SUITE_OUTPUT;
    fs::create_directories(shots);
    const fs::path shot = shots / "suite-report.png";
    const std::string command = std::string(browser) +
                                " --no-sandbox --disable-gpu --enable-logging=stderr --v=0 "
                                "--window-size=1200,1000 --screenshot=" +
                                shot.string() + " file://" + folder.file("page.html").string() +
                                " 2>&1";
    std::string said;
    if (FILE* browserOutput = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, browserOutput) != nullptr) {
            said += buffer;
        }
        EXPECT_EQ(pclose(browserOutput), 0) << said;
    }
    EXPECT_EQ(said.find(":CONSOLE"), std::string::npos) << said;
    EXPECT_GT(fs::file_size(shot), 10'000u) << "the screenshot is blank";
    std::cout << "screenshot: " << shot.string() << '\n';
    const std::string junit = readFile(folder.file("junit.xml"));
    EXPECT_NE(junit.find("tests=\"7\" failures=\"2\" errors=\"0\""), std::string::npos) << junit;
}

// ---- sequences of suite commands against a record of what the reference holds ----

// What the reference folder holds: nothing, or the rate its cases were recorded at.
struct ReferenceModel {
    std::optional<int> recordedRate;
};

// The commands run in one folder with a three-case suite.
struct SequenceBench {
    SuiteFolder folder;
    SequenceBench() {
        folder.write("small.txt", "One apple.\nTwo pears, 12 figs.\n# language: de\nDrei.\n");
    }
};

using SuiteStep = rc::state::Command<ReferenceModel, SequenceBench>;

// Records at a rate, over the reference only when asked to.
struct Record : SuiteStep {
    int rate = *rc::gen::inRange(4, 7);
    bool update = *rc::gen::arbitrary<bool>();
    void apply(ReferenceModel& model) const override {
        if (!model.recordedRate || update) {
            model.recordedRate = rate;
        }
    }
    void run(const ReferenceModel& model, SequenceBench& bench) const override {
        const fs::path manifest = bench.folder.file("ref/manifest.json");
        const std::string before = model.recordedRate ? readFile(manifest) : "";
        std::vector<std::string> arguments{"record", "small.txt", "--reference",
                                           "ref",    "--rate",    std::to_string(rate)};
        if (update) {
            arguments.emplace_back("--update");
        }
        const clitest::RunResult run = bench.folder.suite(arguments);
        const bool refused = model.recordedRate && !update;
        RC_ASSERT(run.exitStatus == (refused ? 2 : 0));
        if (refused) {
            RC_ASSERT(readFile(manifest) == before);
        }
    }
    void show(std::ostream& out) const override {
        out << "record at rate " << rate << (update ? " --update" : "");
    }
};

// Checks at a rate, the whole suite or in shards that are then merged.
struct Check : SuiteStep {
    int rate = *rc::gen::inRange(4, 7);
    int shards = *rc::gen::inRange(1, 4);
    int jobs = *rc::gen::inRange(1, 4);
    void run(const ReferenceModel& model, SequenceBench& bench) const override {
        const int expected = !model.recordedRate ? 2 : *model.recordedRate == rate ? 0 : 1;
        std::vector<std::string> merge{"merge"};
        int status = 0;
        for (int shard = 1; shard <= shards; ++shard) {
            const std::string part = "part" + std::to_string(shard) + ".json";
            const clitest::RunResult run = bench.folder.suite(
                {"check", "small.txt", "--reference", "ref", "--rate", std::to_string(rate),
                 "--jobs", std::to_string(jobs), "--shard",
                 std::to_string(shard) + "/" + std::to_string(shards), "--json", part});
            status = std::max(status, run.exitStatus);
            merge.push_back(part);
        }
        RC_ASSERT(status == expected);
        if (expected != 2) {
            const clitest::RunResult merged = bench.folder.suite(merge);
            RC_ASSERT(merged.exitStatus == expected);
            RC_ASSERT(merged.out.find("3 cases") != std::string::npos);
        }
    }
    void show(std::ostream& out) const override {
        out << "check at rate " << rate << " in " << shards << " shards, " << jobs << " jobs";
    }
};

RC_GTEST_PROP(SuiteSequences, EveryCheckAnswersForWhatTheReferenceHolds, ()) {
    SequenceBench bench;
    ReferenceModel model;
    rc::state::check(model, bench, rc::state::gen::execOneOfWithArgs<Record, Check>());
}

}  // namespace
