#include "dictionary/dictionaryfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <saymgr.h>

namespace saymgr::dictionary {
namespace {

// Owns a file descriptor.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

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

int32_t writeAndPublish(FileDescriptor& file, const std::string& temporary, const std::string& path,
                        std::string_view bytes) {
    if (::fchmod(file.get(), 0644) != 0 || !writeAll(file.get(), bytes) ||
        ::fsync(file.get()) != 0 || !file.close()) {
        return SAYMGR_EFILE_WRITE;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        return SAYMGR_EFILE_OPEN;
    }
    return SAYMGR_OK;
}

}  // namespace

int32_t DictionaryFile::read(const std::string& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    // Without O_NONBLOCK, opening a named pipe would wait for a writer.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid()) {
        return (errno == ENOENT || errno == ENOTDIR) ? SAYMGR_EFILE_NOT_FOUND : SAYMGR_EFILE_OPEN;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return SAYMGR_EFILE_OPEN;
    }
    std::vector<char> chunk(64 * 1024);
    while (bytes.size() <= limit) {
        const ssize_t count = ::read(file.get(), chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            bytes.clear();
            return SAYMGR_EFILE_OPEN;
        }
        if (count == 0) {
            break;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
    if (bytes.size() > limit + 1) {
        bytes.resize(limit + 1);
    }
    return SAYMGR_OK;
}

int32_t DictionaryFile::writeAtomically(const std::string& path, std::string_view bytes) {
    // Only a plain file is replaced: a folder, a device or a pipe stays what it is.
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
        return SAYMGR_EFILE_OPEN;
    }
    std::string temporary = path + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid()) {
        return SAYMGR_EFILE_OPEN;
    }
    const int32_t status = writeAndPublish(file, temporary, path, bytes);
    if (status != SAYMGR_OK) {
        ::unlink(temporary.c_str());
    }
    return status;
}

bool DictionaryFile::sameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace saymgr::dictionary
