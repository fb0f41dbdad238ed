#pragma once

#include <filesystem>
#include <memory>

#include "common/filedescriptor.h"

namespace platform {

// Detects a program already running in the same start-up directory: a lock file beside the
// settings file, held for the life of the object and released by the system if the process
// dies. A lock file the program may only read is locked all the same.
class InstanceLock {
  public:
    // Returns null when another process (or another acquire in this one) holds the lock. When
    // the lock file cannot be created or locked at all the result is a lock that holds nothing,
    // so the program still starts.
    static std::unique_ptr<InstanceLock> acquire(const std::filesystem::path& lockPath);

  private:
    explicit InstanceLock(common::FileDescriptor file) : m_file(std::move(file)) {}
    common::FileDescriptor m_file;
};

}  // namespace platform
