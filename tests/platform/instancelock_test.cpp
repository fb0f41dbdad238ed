#include "platform/instancelock.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "testsupport/temporaryfolder.h"

namespace {

using platform::InstanceLock;

// Makes this (child) process one that file permissions bind: root becomes nobody.
void becomeOrdinaryUser() {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(3);
    }
}

// Exit code of a child process that tries the lock: 0 when it was held, 1 when it got it.
int acquireInChild(const std::filesystem::path& lockPath, bool asOrdinaryUser = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (asOrdinaryUser) {
            becomeOrdinaryUser();
        }
        ::_exit(InstanceLock::acquire(lockPath) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InstanceLock, ASecondProcessIsRefusedUntilTheFirstLetsGo) {
    testsupport::TemporaryFolder folder;
    const std::filesystem::path lockPath = folder.path() / "SAYBENCH.INI.lock";
    {
        const std::unique_ptr<InstanceLock> first = InstanceLock::acquire(lockPath);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(acquireInChild(lockPath), 0);
        EXPECT_EQ(InstanceLock::acquire(lockPath), nullptr) << "also within the same process";
    }
    EXPECT_EQ(acquireInChild(lockPath), 1);
}

TEST(InstanceLock, AnUncreatableLockFileDoesNotStopTheProgram) {
    EXPECT_NE(InstanceLock::acquire("/nonexistent-folder/x/SAYBENCH.lock"), nullptr);
}

// A start-up directory the user may only read, holding a lock file made read-only: a program
// that cannot open the file for writing still holds the lock.
TEST(InstanceLock, ALockFileThatMayOnlyBeReadStillLocks) {
    testsupport::TemporaryFolder folder;
    const std::filesystem::path lockPath = folder.path() / "SAYBENCH.LCK";
    writeText(lockPath, "");
    ASSERT_EQ(::chmod(lockPath.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        becomeOrdinaryUser();
        const std::unique_ptr<InstanceLock> lock = InstanceLock::acquire(lockPath);
        char answer = ::access(lockPath.c_str(), R_OK) != 0 ? 's' : lock ? 'y' : 'n';
        const bool told = ::write(ready[1], &answer, 1) == 1;
        const bool released = ::read(release[0], &answer, 1) == 0;
        ::_exit(told && released ? 0 : 1);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    if (answer != 's') {
        EXPECT_EQ(answer, 'y');
        EXPECT_EQ(acquireInChild(lockPath, true), 0) << "another program that may only read it";
        EXPECT_EQ(InstanceLock::acquire(lockPath), nullptr) << "another that may write it";
    }
    ::close(release[1]);
    int status = 0;
    ::waitpid(holder, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (answer == 's') {
        GTEST_SKIP() << "the temporary folder is closed to an ordinary user";
    }
}

}  // namespace
