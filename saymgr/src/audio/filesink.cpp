#include "audio/filesink.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "saymgr.h"

namespace saymgr::audio {

namespace {

constexpr std::array<int, 5> kFormats{
    SF_FORMAT_RAW | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE,
    SF_FORMAT_RAW | SF_FORMAT_ULAW,
    SF_FORMAT_RAW | SF_FORMAT_ALAW,
    SF_FORMAT_WAV | SF_FORMAT_PCM_U8,
    SF_FORMAT_WAV | SF_FORMAT_PCM_16,
};

}  // namespace

FileSink::~FileSink() {
    if (m_file != nullptr) {
        sf_close(m_file);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

int32_t FileSink::open(int sampleRate) {
    if (!isFormat(m_format)) {
        return SAYMGR_EOUTPUT_FORMAT;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = kFormats[static_cast<std::size_t>(m_format)];
    // Without O_NONBLOCK, a named pipe that nobody reads would block the caller for good.
    const int fd =
        ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return SAYMGR_EFILE_OPEN;
    }
    m_fd = fd;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    return m_file == nullptr ? SAYMGR_EFILE_OPEN : 0;
}

int32_t FileSink::write(const int16_t* samples, std::size_t count) {
    const auto wanted = static_cast<sf_count_t>(count);
    if (m_file == nullptr || sf_write_short(m_file, samples, wanted) != wanted) {
        return SAYMGR_EFILE_WRITE;
    }
    m_written += wanted;
    return 0;
}

int32_t FileSink::finish() {
    if (m_file == nullptr) {
        return SAYMGR_EFILE_WRITE;
    }
    const int closed = sf_close(m_file) | ::close(m_fd);
    m_file = nullptr;
    m_fd = -1;
    // A pipe or a device has no size of its own to report.
    std::error_code error;
    const bool plain = std::filesystem::is_regular_file(m_path, error);
    const auto size = plain ? std::filesystem::file_size(m_path, error) : 0;
    m_bytes = error ? 0 : static_cast<int64_t>(size);
    return closed == 0 && !error ? 0 : SAYMGR_EFILE_WRITE;
}

}  // namespace saymgr::audio
