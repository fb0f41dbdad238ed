#include "platform/instancelock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "testsupport/temporaryfolder.h"

namespace {

using platform::InstanceLock;

// Exit code of a child process that tries the lock: 0 when it was held, 1 when it got it.
int acquireInChild(const std::filesystem::path& lockPath) {
    const pid_t child = ::fork();
    if (child == 0) {
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

}  // namespace
