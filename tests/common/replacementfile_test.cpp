#include "common/replacementfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "testsupport/temporaryfolder.h"

namespace {

using common::ReplacementFile;
using Status = ReplacementFile::Status;

mode_t modeOf(const std::filesystem::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

class ReplacementFileTest : public ::testing::Test {
  protected:
    testsupport::TemporaryFolder m_folder;
};

TEST_F(ReplacementFileTest, KeepsTheModeOfTheReplacedFileAndHonoursTheUmaskForANewOne) {
    const auto existing = m_folder.path() / "existing.ini";
    writeText(existing, "old");
    ::chmod(existing.c_str(), 0640);
    const mode_t previous = ::umask(027);
    const auto created = m_folder.path() / "created.ini";
    EXPECT_EQ(ReplacementFile::replace(existing, "new"), Status::Ok);
    EXPECT_EQ(ReplacementFile::replace(created, "fresh"), Status::Ok);
    ::umask(previous);

    EXPECT_EQ(readText(existing), "new");
    EXPECT_EQ(modeOf(existing), 0640u);
    EXPECT_EQ(modeOf(created), 0640u);
    EXPECT_EQ(entriesIn(m_folder.path()), 2u);
}

TEST_F(ReplacementFileTest, ASymbolicLinkStaysAndItsTargetIsReplacedOrCreated) {
    const auto target = m_folder.path() / "real.ini";
    const auto link = m_folder.path() / "link.ini";
    writeText(target, "old");
    std::filesystem::create_symlink(target, link);
    // A link whose target does not exist yet, relative to the link's folder, through a second.
    std::filesystem::create_directory(m_folder.path() / "sub");
    const auto dangling = m_folder.path() / "dangling.wav";
    std::filesystem::create_symlink("sub/chain.wav", dangling);
    std::filesystem::create_symlink("made.wav", m_folder.path() / "sub" / "chain.wav");

    EXPECT_EQ(ReplacementFile::replace(link, "new"), Status::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(ReplacementFile::replace(dangling, "made"), Status::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readText(m_folder.path() / "sub" / "made.wav"), "made");
}

TEST_F(ReplacementFileTest, RefusedTargetsStayAsTheyAre) {
    const auto readOnly = m_folder.path() / "frozen.ini";
    writeText(readOnly, "frozen");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(ReplacementFile::replace(readOnly, "new"), Status::CannotCreate);
    EXPECT_EQ(readText(readOnly), "frozen");

    EXPECT_EQ(ReplacementFile::replace(m_folder.path(), "new"), Status::CannotCreate);
    EXPECT_EQ(ReplacementFile::replace("/dev/null", "new"), Status::CannotCreate);
    EXPECT_EQ(entriesIn(m_folder.path()), 1u);
}

TEST_F(ReplacementFileTest, UncommittedAndFailedWritesLeaveNoTrace) {
    const auto target = m_folder.path() / "kept.wav";
    writeText(target, "old");
    {
        ReplacementFile file(target);
        ASSERT_EQ(file.status(), Status::Ok);
        ASSERT_EQ(::write(file.fd(), "partial", 7), 7);
        // Until it is complete the new version has no name: a process ended now leaves nothing.
        EXPECT_EQ(entriesIn(m_folder.path()), 1u);
    }
    EXPECT_EQ(readText(target), "old");
    EXPECT_EQ(entriesIn(m_folder.path()), 1u);

    // A name as long as the system allows still has room for the temporary name beside it.
    const auto longName = m_folder.path() / std::string(254, 'n');
    EXPECT_EQ(ReplacementFile::replace(longName, "long"), Status::Ok);
    EXPECT_EQ(readText(longName), "long");
}

}  // namespace
