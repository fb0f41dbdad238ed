#pragma once

#include <filesystem>
#include <memory>

namespace platform {

// Detects a program already running in the same start-up directory: a lock file beside the
// settings file, held for the life of the object and released by the system if the process
// dies.
class InstanceLock {
public:
    // Returns null when another process holds the lock.
    static std::unique_ptr<InstanceLock> acquire(const std::filesystem::path& lockPath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    explicit InstanceLock(int fd) : m_fd(fd) {}
    int m_fd;
};

}  // namespace platform
