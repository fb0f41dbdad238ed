#include "platform/borrowedprofileentry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "testsupport/temporaryfolder.h"

namespace {

using platform::BorrowedProfileEntry;

class BorrowedProfileEntryTest : public ::testing::Test {
  protected:
    static constexpr char kUsers[] =
        "[sounds]\r\nSystemQuestion=chimes.wav\r\nSystemHand=stop.wav\r\n[other]\r\nk=v\r\n";

    BorrowedProfileEntryTest() { writeText(m_profile, kUsers); }

    std::unique_ptr<BorrowedProfileEntry> entry() const {
        return std::make_unique<BorrowedProfileEntry>(m_profile, "sounds", "SystemQuestion",
                                                      "SystemQuestionBeforeVoxtrial");
    }
    std::string question() const {
        return platform::ProfileFile(m_profile).readString("sounds", "SystemQuestion", "none");
    }

    testsupport::TemporaryFolder m_folder;
    std::filesystem::path m_profile = m_folder.path() / "user.ini";
};

TEST_F(BorrowedProfileEntryTest, OverlappingProgramsPutTheUsersValueBackWhenTheLastEnds) {
    const auto first = entry();
    const auto second = entry();
    EXPECT_EQ(first->borrow("ding.wav", "ding.wav", 80), "chimes.wav");
    EXPECT_EQ(second->borrow("ding.wav", "ding.wav", 80), "chimes.wav");
    EXPECT_EQ(question(), "ding.wav");

    EXPECT_TRUE(first->giveBack("chimes.wav"));
    EXPECT_EQ(question(), "ding.wav") << "the second program still runs";
    EXPECT_TRUE(second->giveBack("chimes.wav"));
    EXPECT_EQ(readText(m_profile), kUsers);
}

TEST_F(BorrowedProfileEntryTest, AfterACrashTheNextProgramPutsTheUsersValueBack) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool borrowed = entry()->borrow("ding.wav", "ding.wav", 80) == "chimes.wav";
        ::_exit(borrowed ? 0 : 1);  // ends without giving the entry back
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(question(), "ding.wav");

    const auto next = entry();
    EXPECT_EQ(next->borrow("ding.wav", "ding.wav", 80), "chimes.wav");
    EXPECT_TRUE(next->giveBack("chimes.wav"));
    EXPECT_EQ(readText(m_profile), kUsers);
}

// A kept value counts only while the entry holds the programs' value: a sound the user chose
// after a crash is the one to keep.
TEST_F(BorrowedProfileEntryTest, ASoundTheUserChoseSinceIsTheUsersValue) {
    entry()->borrow("ding.wav", "ding.wav", 80);
    ASSERT_TRUE(platform::ProfileFile(m_profile).writeString("sounds", "SystemQuestion", "bell"));
    const auto next = entry();
    EXPECT_EQ(next->borrow("ding.wav", "ding.wav", 80), "bell");
    EXPECT_TRUE(next->giveBack("bell"));
    EXPECT_EQ(question(), "bell");
}

}  // namespace
