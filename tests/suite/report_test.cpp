#include <gtest/gtest.h>

#include "suite/report.h"

namespace suitetest {
namespace {

suite::CaseResult passed(std::size_t position) {
    suite::CaseResult result;
    result.position = position;
    result.id = std::to_string(position + 1);
    result.text = "case " + result.id;
    result.durationBefore = result.durationAfter = 900;
    return result;
}

suite::CaseResult changed(std::size_t position, int words) {
    suite::CaseResult result = passed(position);
    result.status = suite::CaseStatus::Changed;
    result.text = "Tom & \"Jerry\" <b> \x1B caf\xC3\xA9";
    result.durationAfter = 990;
    result.durationChanged = true;
    for (int i = 0; i < words; ++i) {
        suite::WordChange word;
        word.start = i * 4;
        word.text = "w" + std::to_string(i);
        word.ipaBefore = "tˈɒm";
        word.ipaAfter = "tˈʌm";
        word.onsetBefore = 10.5 * i;
        word.onsetAfter = i == 0 ? std::nullopt : std::optional(12.25 * i);
        word.spectralDb = 7.5;
        word.phonemesChanged = word.soundChanged = true;
        word.markChanged = i == 0;
        result.words.push_back(word);
    }
    const suite::ShownRendering shown{
        "/ref/00001-a.flac", {11025, 4410, {-5, -900}, {700, 12}}, {{0, "Tom", 0, 2000, true}}};
    result.before = shown;
    result.after = shown;
    result.after->audio = "/new/00001-a.flac";
    return result;
}

suite::CaseResult failed(std::size_t position) {
    suite::CaseResult result = passed(position);
    result.status = suite::CaseStatus::Failed;
    result.error = "unknown language \"xx\"";
    result.durationBefore = result.durationAfter = 0;
    return result;
}

suite::SuiteReport report(std::vector<suite::CaseResult> cases) {
    return {"smoke", 5, {"Maker", "1.51"}, {"Maker", "1.52"}, {4, 30, 5.5}, std::move(cases)};
}

TEST(Reports, TheJsonReportReadsBackAsTheSameReport) {
    const suite::SuiteReport original = report({passed(0), changed(1, 2), failed(3)});
    std::string error;
    const std::optional<suite::SuiteReport> read =
        suite::readReportJson(suite::reportJson(original), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, original);
    EXPECT_FALSE(suite::readReportJson("{\"format\": 1}", error));
    EXPECT_NE(error.find("'suite' not found"), std::string::npos) << error;
}

TEST(Reports, ShardsMergeIntoTheWholeInSuiteOrderAndOnlyFromOneSuite) {
    const suite::SuiteReport whole =
        report({passed(0), changed(1, 1), passed(2), failed(3), passed(4)});
    std::string error;
    const auto merged = suite::mergeReports(
        {report({changed(1, 1), failed(3)}), report({passed(0), passed(2), passed(4)})}, error);
    ASSERT_TRUE(merged) << error;
    EXPECT_EQ(*merged, whole);

    suite::SuiteReport other = report({passed(1)});
    other.suiteName = "another";
    EXPECT_FALSE(suite::mergeReports({report({passed(0)}), other}, error));
    EXPECT_NE(error.find("different suites"), std::string::npos) << error;
    EXPECT_FALSE(suite::mergeReports({report({passed(0)}), report({passed(0)})}, error));
    EXPECT_NE(error.find("more than one report"), std::string::npos) << error;
}

TEST(Reports, TheExitStatusIsTheWorstCase) {
    EXPECT_EQ(suite::exitStatusOf(report({passed(0), passed(1)})), 0);
    EXPECT_EQ(suite::exitStatusOf(report({passed(0), changed(1, 1)})), 1);
    EXPECT_EQ(suite::exitStatusOf(report({failed(0), changed(1, 1)})), 2);
}

TEST(Reports, TheSummaryShowsTheWorstFirstThenTheCounts) {
    const std::string summary =
        suite::reportSummary(report({changed(0, 1), passed(1), changed(2, 3), failed(3)}));
    const std::size_t failure = summary.find("failed  case 4");
    const std::size_t three = summary.find("changed  case 3");
    const std::size_t one = summary.find("changed  case 1");
    EXPECT_TRUE(failure < three && three < one) << summary;
    EXPECT_NE(summary.find("\"w1\" /tˈɒm/ -> /tˈʌm/ sounds different (7.5 dB)"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("duration 900 ms -> 990 ms (+10.0 %)"), std::string::npos) << summary;
    EXPECT_EQ(summary.substr(summary.rfind("4 cases")), "4 cases: 1 pass, 2 changed, 1 failed\n");
    EXPECT_EQ(summary.find("case 2"), std::string::npos);
}

// Texts and ids go into markup escaped: no case can break the page or the XML.
TEST(Reports, JunitAndHtmlEscapeWhatTheCasesSay) {
    const suite::SuiteReport checked = report({passed(0), changed(1, 1), failed(2)});
    const std::string junit = suite::reportJunit(checked);
    EXPECT_NE(junit.find("tests=\"3\" failures=\"1\" errors=\"1\""), std::string::npos);
    EXPECT_NE(junit.find("Tom &amp; &quot;Jerry&quot; &lt;b&gt; ? café"), std::string::npos)
        << junit;
    EXPECT_NE(junit.find("<error message=\"failed\">"), std::string::npos);
    const std::string html = suite::reportHtml(checked);
    EXPECT_NE(html.find("Tom &amp; &quot;Jerry&quot; &lt;b&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_EQ(html.find("src="), std::string::npos);  // nothing to fetch
    EXPECT_NE(html.find("<svg"), std::string::npos);
}

}  // namespace
}  // namespace suitetest
