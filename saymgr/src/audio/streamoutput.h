#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/filedescriptor.h"

namespace saymgr::audio {

// A named pipe or a device that libsndfile writes to as a stream: bytes leave in order and
// cannot be taken back. A write waits with poll() until the descriptor takes more or until
// interrupt() (from any thread) signals the wake-up descriptor, so a reader that stops reading
// never holds the writer for good. What libsndfile writes again over bytes already sent (a
// wave header completed at the end) is dropped.
class StreamOutput {
  public:
    StreamOutput() = default;
    StreamOutput(const StreamOutput&) = delete;
    StreamOutput& operator=(const StreamOutput&) = delete;

    // Opens `path` without blocking: a pipe without a reader is refused at once.
    bool open(const std::string& path);
    void interrupt();

    // libsndfile's view of the stream.
    static SF_VIRTUAL_IO& virtualIo();

  private:
    // Sends `count` bytes; fewer when interrupted or on an error.
    std::size_t send(const char* bytes, std::size_t count);
    // Waits until the descriptor takes more; false when interrupted or it never will.
    bool waitWritable();
    sf_count_t write(const void* bytes, sf_count_t count);
    sf_count_t seek(sf_count_t offset, int whence);

    common::FileDescriptor m_fd;
    common::FileDescriptor m_wake;
    sf_count_t m_sent = 0;      // bytes that have left
    sf_count_t m_position = 0;  // where libsndfile writes next
};

}  // namespace saymgr::audio
