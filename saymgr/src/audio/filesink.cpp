#include "audio/filesink.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>

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
}

int32_t FileSink::open(int sampleRate) {
    if (!isFormat(m_format)) {
        return SAYMGR_EOUTPUT_FORMAT;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = kFormats[static_cast<std::size_t>(m_format)];
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) != 0) {
        return errno == ENOENT ? openReplacement(info) : SAYMGR_EFILE_OPEN;
    }
    if (S_ISREG(existing.st_mode)) {
        return openReplacement(info);
    }
    // A wave header is completed at the end, which a pipe cannot take back.
    const bool pipe = S_ISFIFO(existing.st_mode) || S_ISSOCK(existing.st_mode);
    return pipe && m_format >= SAYMGR_FORMAT_WAVE8 ? SAYMGR_EFILE_OPEN : openStream(info);
}

int32_t FileSink::openReplacement(SF_INFO& info) {
    m_replacement = std::make_unique<common::ReplacementFile>(m_path);
    if (m_replacement->status() != common::ReplacementFile::Status::Ok) {
        return SAYMGR_EFILE_OPEN;
    }
    m_file = sf_open_fd(m_replacement->fd(), SFM_WRITE, &info, SF_FALSE);
    return m_file == nullptr ? SAYMGR_EFILE_OPEN : 0;
}

int32_t FileSink::openStream(SF_INFO& info) {
    m_stream = std::make_unique<StreamOutput>();
    if (!m_stream->open(m_path)) {
        return SAYMGR_EFILE_OPEN;
    }
    m_file = sf_open_virtual(&StreamOutput::virtualIo(), SFM_WRITE, &info, m_stream.get());
    return m_file == nullptr ? SAYMGR_EFILE_OPEN : 0;
}

void FileSink::interrupt() {
    m_interrupted = true;
    if (m_stream) {
        m_stream->interrupt();
    }
}

int32_t FileSink::write(const int16_t* samples, std::size_t count) {
    const auto wanted = static_cast<sf_count_t>(count);
    const sf_count_t written = m_file == nullptr ? 0 : sf_write_short(m_file, samples, wanted);
    m_written += written;
    // Cut short by a stop: what was written stands.
    m_failed = m_failed || (written != wanted && !m_interrupted);
    return m_failed ? SAYMGR_EFILE_WRITE : 0;
}

int32_t FileSink::finish() {
    if (m_file == nullptr) {
        return SAYMGR_EFILE_WRITE;
    }
    const int closed = sf_close(m_file);
    m_file = nullptr;
    if (m_replacement) {
        return closed == 0 && !m_failed ? commit() : SAYMGR_EFILE_WRITE;
    }
    // The end of a stopped stream may not have left any more.
    return closed == 0 || m_interrupted ? 0 : SAYMGR_EFILE_WRITE;
}

int32_t FileSink::commit() {
    struct stat written {};
    if (::fstat(m_replacement->fd(), &written) != 0 ||
        m_replacement->commit() != common::ReplacementFile::Status::Ok) {
        return SAYMGR_EFILE_WRITE;
    }
    m_bytes = written.st_size;
    return 0;
}

}  // namespace saymgr::audio
