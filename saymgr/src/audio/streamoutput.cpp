#include "audio/streamoutput.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace saymgr::audio {

bool StreamOutput::open(const std::string& path) {
    m_fd = common::FileDescriptor(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    m_wake = common::FileDescriptor(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    return m_fd.valid() && m_wake.valid();
}

void StreamOutput::interrupt() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake.get(), &one, sizeof one);
}

bool StreamOutput::waitWritable() {
    pollfd watched[] = {{m_fd.get(), POLLOUT, 0}, {m_wake.get(), POLLIN, 0}};
    while (::poll(watched, 2, -1) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    // A reader that went away shows as an error: writing now would raise SIGPIPE.
    return watched[1].revents == 0 && (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL)) == 0;
}

std::size_t StreamOutput::send(const char* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count && waitWritable()) {
        const ssize_t written = ::write(m_fd.get(), bytes + done, count - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
    }
    return done;
}

sf_count_t StreamOutput::write(const void* bytes, sf_count_t count) {
    // Bytes before m_sent have left already; only what lies beyond goes out.
    const sf_count_t dropped = std::clamp<sf_count_t>(m_sent - m_position, 0, count);
    const sf_count_t sent = static_cast<sf_count_t>(
        send(static_cast<const char*>(bytes) + dropped, static_cast<std::size_t>(count - dropped)));
    m_sent = std::max(m_sent, m_position + dropped + sent);
    m_position += dropped + sent;
    return dropped + sent;
}

sf_count_t StreamOutput::seek(sf_count_t offset, int whence) {
    const sf_count_t base = whence == SEEK_CUR ? m_position : whence == SEEK_END ? m_sent : 0;
    const sf_count_t target = base + offset;
    if (target < 0 || target > m_sent) {
        return -1;
    }
    m_position = target;
    return m_position;
}

SF_VIRTUAL_IO& StreamOutput::virtualIo() {
    static SF_VIRTUAL_IO io{
        [](void* self) { return static_cast<StreamOutput*>(self)->m_sent; },
        [](sf_count_t offset, int whence, void* self) {
            return static_cast<StreamOutput*>(self)->seek(offset, whence);
        },
        [](void*, sf_count_t, void*) -> sf_count_t { return 0; },
        [](const void* bytes, sf_count_t count, void* self) {
            return static_cast<StreamOutput*>(self)->write(bytes, count);
        },
        [](void* self) { return static_cast<StreamOutput*>(self)->m_position; },
    };
    return io;
}

}  // namespace saymgr::audio
