#include "platform/instancelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::filesystem::path& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // Without a lock file (a read-only folder) no second instance can be detected; the
        // program runs rather than claiming another one does.
        return std::unique_ptr<InstanceLock>(new InstanceLock(-1));
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return heldElsewhere ? nullptr : std::unique_ptr<InstanceLock>(new InstanceLock(-1));
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

}  // namespace platform
