// How a long text is cut into jobs for the engine's worker processes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parallel/parallelsynthesis.h"

namespace saymgr::parallel {
namespace {

// Paragraphs of four sentences, and one long paragraph without an empty line.
std::string paragraphs() {
    std::string text;
    for (int index = 0; text.size() < 30000; ++index) {
        text += "Sentence number " + std::to_string(index) + " says a little more.";
        text += index % 4 == 3 ? "\r\n\r\n" : " ";
    }
    for (int index = 0; index < 400; ++index) {
        text += "Then it goes on and on without a break. ";
    }
    return text;
}

TEST(ParallelPlanTest, JobsTileTheTextAtPieceEndsPreferringParagraphs) {
    const std::string text = paragraphs();
    const std::vector<Job> jobs = planJobs(text);
    ASSERT_GT(jobs.size(), 10u);
    int32_t expected = 0;
    for (std::size_t index = 0; index < jobs.size(); ++index) {
        const Job& job = jobs[index];
        EXPECT_EQ(job.id, static_cast<int32_t>(index));
        EXPECT_EQ(job.from, expected);
        expected = job.to;
        if (index + 1 == jobs.size()) {
            continue;
        }
        EXPECT_GE(job.to - job.from, kJobBytes);
        const bool paragraph =
            text.compare(static_cast<std::size_t>(job.to) - 4, 4, "\r\n\r\n") == 0;
        // Without a paragraph end in reach, a job ends after a sentence.
        EXPECT_TRUE(paragraph || (job.to - job.from >= 2 * kJobBytes && text[job.to - 1] == ' '))
            << "job " << index << " ends inside " << text.substr(job.to - 20, 40);
    }
    EXPECT_EQ(expected, static_cast<int32_t>(text.size()));
    EXPECT_TRUE(planJobs("").empty());
    ASSERT_EQ(planJobs("Short.").size(), 1u);
}

}  // namespace
}  // namespace saymgr::parallel
