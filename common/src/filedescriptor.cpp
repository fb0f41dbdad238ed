#include "common/filedescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace common {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

int FileDescriptor::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool FileDescriptor::close() {
    if (m_fd < 0) {
        return true;
    }
    return ::close(release()) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

FileDescriptor openRegularFile(const std::filesystem::path& path, std::size_t* size) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.valid()) {
        return file;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        return FileDescriptor();
    }
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return FileDescriptor();
    }
    if (size != nullptr) {
        *size = static_cast<std::size_t>(status.st_size);
    }
    return file;
}

ReadStatus readRegularFile(const std::filesystem::path& path, std::size_t limit,
                           std::string& bytes) {
    bytes.clear();
    const FileDescriptor file = openRegularFile(path);
    if (!file.valid()) {
        return (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Unreadable;
    }
    std::vector<char> chunk(std::size_t{64} * 1024);
    while (bytes.size() <= limit) {
        const ssize_t count = ::read(file.get(), chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        if (count == 0) {
            break;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
    if (bytes.size() > limit + 1) {
        bytes.resize(limit + 1);
    }
    return ReadStatus::Ok;
}

bool sameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace common
