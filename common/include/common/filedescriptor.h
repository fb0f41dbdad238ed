#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace common {

// Owns one POSIX file descriptor and closes it when it goes.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Gives up ownership without closing.
    int release();
    // Closes now; false when the system reports an error (for a written file: data lost).
    bool close();

  private:
    int m_fd;
};

// Writes all of `bytes`, going on after interruptions and short writes; false on an error.
bool writeAll(int fd, std::string_view bytes);

// Opens the regular file at `path` for reading without blocking on a named pipe or a device.
// Anything else gives an invalid descriptor with errno set (EINVAL for what is no regular
// file). `size`, when given, gets the file's size.
FileDescriptor openRegularFile(const std::filesystem::path& path, std::size_t* size = nullptr);

enum class ReadStatus { Ok, Missing, Unreadable };

// Reads at most `limit` + 1 bytes of the regular file at `path` into `bytes`, so that a caller
// sees a file longer than `limit` without reading all of it. The file is opened without
// blocking: a named pipe, a device or a folder is Unreadable and left as it is; a path that
// does not exist (or runs through something that is no folder) is Missing.
ReadStatus readRegularFile(const std::filesystem::path& path, std::size_t limit,
                           std::string& bytes);

// True when both paths name the same existing file.
bool sameFile(const std::filesystem::path& first, const std::filesystem::path& second);

}  // namespace common
