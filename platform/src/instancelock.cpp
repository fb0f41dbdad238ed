#include "platform/instancelock.h"

#include <sys/file.h>

#include <cerrno>

#include "lockfile.h"

namespace platform {

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::filesystem::path& lockPath) {
    common::FileDescriptor file = openLockFile(lockPath);
    // Without a lock file (none in a read-only folder) no second instance can be detected; the
    // program runs rather than claiming another one does.
    if (file.valid() && !lockFile(file.get(), LOCK_EX | LOCK_NB)) {
        if (errno == EWOULDBLOCK) {
            return nullptr;
        }
        file.close();
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(std::move(file)));
}

}  // namespace platform
