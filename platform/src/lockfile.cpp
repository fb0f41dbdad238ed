#include "lockfile.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace platform {

common::FileDescriptor openLockFile(const std::filesystem::path& path) {
    constexpr int kFlags = O_CLOEXEC | O_NONBLOCK;
    common::FileDescriptor file(::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0644));
    if (!file.valid()) {
        file = common::FileDescriptor(::open(path.c_str(), O_RDONLY | kFlags));
    }
    return file;
}

bool lockFile(int fd, int operation) {
    int result;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

}  // namespace platform
