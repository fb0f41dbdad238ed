#pragma once

#include <filesystem>

#include "common/filedescriptor.h"

namespace platform {

// Opens the lock file at `path`, creating it when it is missing. A file this process may not
// write is opened for reading, which serves flock() just as well. Never waits (a named pipe in
// its place does not hold the program up); invalid when the file cannot be opened at all.
common::FileDescriptor openLockFile(const std::filesystem::path& path);

// flock(2) on `fd`, gone on with after an interruption; false with errno set on failure.
bool lockFile(int fd, int operation);

}  // namespace platform
