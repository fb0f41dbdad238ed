#include "audio/filesink.h"

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
}

int32_t FileSink::open(int sampleRate) {
    if (!isFormat(m_format)) {
        return SAYMGR_EOUTPUT_FORMAT;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = kFormats[static_cast<std::size_t>(m_format)];
    m_file = sf_open(m_path.c_str(), SFM_WRITE, &info);
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
    const int closed = sf_close(m_file);
    m_file = nullptr;
    std::error_code error;
    const auto size = std::filesystem::file_size(m_path, error);
    m_bytes = error ? 0 : static_cast<int64_t>(size);
    return closed == 0 && !error ? 0 : SAYMGR_EFILE_WRITE;
}

}  // namespace saymgr::audio
