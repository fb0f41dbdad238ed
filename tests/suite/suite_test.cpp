#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "suite/reference.h"
#include "suite/suite.h"

namespace suitetest {
namespace {

namespace fs = std::filesystem;

class SuiteFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder =
            fs::temp_directory_path() /
            ("suite-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
        return m_folder / name;
    }
    suite::LoadedSuite load(const std::string& name, const std::string& bytes) const {
        return suite::loadSuite(write(name, bytes));
    }

    fs::path m_folder;
};

suite::CaseSettings language(const std::string& code) {
    suite::CaseSettings settings;
    settings.language = code;
    return settings;
}

TEST_F(SuiteFiles, ATextCorpusHasACaseALineNumberedByItsLine) {
    const suite::LoadedSuite loaded = load("corpus.txt",
                                           "# numbers\r\n"
                                           "One, two, three.\r\n"
                                           "\n"
                                           "  # language: de\n"
                                           "Caf\xC3\xA9 ~P500 zu.\n");
    ASSERT_TRUE(loaded.suite) << loaded.error;
    EXPECT_EQ(loaded.suite->name, "corpus");
    const std::vector<suite::SuiteCase> expected{
        {"2", "One, two, three.", language("en-us")},
        {"5", "Caf\xE9 \x1BP500 zu.", language("de")},
    };
    EXPECT_EQ(loaded.suite->cases, expected);
}

TEST_F(SuiteFiles, AJsonSuiteTakesDefaultsTextFilesAndDictionariesBesideIt) {
    write("long.txt", "From a file.");
    const suite::LoadedSuite loaded =
        load("set.json", R"({"name": "smoke", "defaults": {"language": "fr", "rate": 7},
                             "cases": [{"id": "a", "text": "Salut", "dictionaries": ["w.dct"]},
                                       {"text_file": "long.txt", "language": "en-gb",
                                        "frequency": 8, "system_mode": 3}]})");
    ASSERT_TRUE(loaded.suite) << loaded.error;
    suite::CaseSettings first = language("fr");
    first.rate = 7;
    first.dictionaries = {m_folder / "w.dct"};
    suite::CaseSettings second = language("en-gb");
    second.rate = 7;
    second.frequency = 8;
    second.systemMode = 3;
    EXPECT_EQ(loaded.suite->name, "smoke");
    EXPECT_EQ(loaded.suite->cases, (std::vector<suite::SuiteCase>{{"a", "Salut", first},
                                                                  {"2", "From a file.", second}}));
}

TEST_F(SuiteFiles, BadSuitesSayWhatIsWrongAndWhere) {
    const std::vector<std::pair<std::string, std::string>> suites{
        {"{\"cases\": [{\"text\": \"a\"},\n {\"text\" \"b\"}]}",
         "parse error at line 2, column 12"},
        {R"({"cases": [{"text_file": "gone.txt"}]})", "case 1: cannot read the text file"},
        {R"([{"id": "x", "text": "a"}, {"id": "x", "text": "b"}])", "two cases have the id \"x\""},
        {R"([{"text": "a", "rate": 10}])", "\"rate\" takes a whole number from 1 to 9"},
        {R"([{"text": "a", "frequency": 22}])", "\"frequency\" takes 7, 8, 10 or 11"},
        {R"([{"text": "\u65e5\u672c"}])", "characters outside Windows-1252"},
        {R"([{"text": "a", "text_file": "b"}])", "give either \"text\" or \"text_file\""},
        {R"({"name": "x"})", "a list of cases"},
        {"[]", "the suite has no cases"},
    };
    for (const auto& [bytes, message] : suites) {
        const suite::LoadedSuite loaded = load("bad.json", bytes);
        EXPECT_FALSE(loaded.suite) << bytes;
        EXPECT_NE(loaded.error.find(message), std::string::npos) << loaded.error;
    }
    EXPECT_EQ(suite::loadSuite(m_folder / "missing.txt").error,
              (m_folder / "missing.txt").string() + ": cannot read the suite");
}

TEST_F(SuiteFiles, ShardsTakeEveryNthCaseAndTogetherAllOfThemOnce) {
    std::vector<std::size_t> all;
    for (int shard = 1; shard <= 3; ++shard) {
        const std::vector<std::size_t> cases = suite::shardCases(8, shard, 3);
        all.insert(all.end(), cases.begin(), cases.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(suite::shardCases(8, 2, 3), (std::vector<std::size_t>{1, 4, 7}));
}

// Voice values and dictionaries may change between record and check; the text and language
// may not.
TEST_F(SuiteFiles, AFingerprintFollowsTheTextAndLanguageOnly) {
    const suite::SuiteCase base{"1", "Hello", language("en-us")};
    suite::SuiteCase louder = base;
    louder.settings.volume = 9;
    louder.settings.dictionaries = {"w.dct"};
    suite::SuiteCase german = base;
    german.settings.language = "de";
    suite::SuiteCase other = base;
    other.text = "Hallo";
    EXPECT_EQ(suite::caseFingerprint(base), suite::caseFingerprint(louder));
    EXPECT_NE(suite::caseFingerprint(base), suite::caseFingerprint(german));
    EXPECT_NE(suite::caseFingerprint(base), suite::caseFingerprint(other));
}

TEST_F(SuiteFiles, ACaseAndAManifestReadBackAsTheyWereWritten) {
    suite::Rendering rendering;
    rendering.sampleRate = 11025;
    for (int i = 0; i < 4000; ++i) {
        rendering.samples.push_back(static_cast<int16_t>((i * 37) % 20000 - 10000));
    }
    rendering.words = {{0, 5, "Hello", 12, "həlˈoʊ"}, {6, 5, "w\xC3\xB6rld", 2100, ""}};
    const suite::SuiteCase suiteCase{"greeting", "Hello w\xF6rld", language("en-us")};
    ASSERT_EQ(suite::writeCaseFiles(m_folder, "00001-greeting", suiteCase, rendering), "");
    std::string error;
    const std::optional<suite::Rendering> read =
        suite::readCaseFiles(m_folder, "00001-greeting", error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->sampleRate, rendering.sampleRate);
    EXPECT_EQ(read->samples, rendering.samples);
    EXPECT_EQ(read->words, rendering.words);

    const suite::Suite suite{"smoke", {suiteCase, {"b/c", "x", language("de")}}};
    const suite::Manifest manifest = suite::manifestOf(suite, {"Maker", "1.51"});
    EXPECT_EQ(manifest.cases[1].file, "00002-b_c");
    ASSERT_EQ(suite::writeManifest(m_folder, manifest), "");
    EXPECT_EQ(suite::readManifest(m_folder, error), manifest);
    write("manifest.json", "{\"format\": 1, \"suite\": ");
    EXPECT_FALSE(suite::readManifest(m_folder, error));
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
}

}  // namespace
}  // namespace suitetest
