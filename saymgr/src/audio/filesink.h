#pragma once

#include <sndfile.h>

#include <atomic>
#include <string>

#include "audio/sink.h"

namespace saymgr::audio {

// Writes the speech into a sound file with libsndfile in one of the engine's five formats:
// 0 16-bit linear raw (little-endian), 1 mu-law raw, 2 A-law raw, 3 8-bit WAV, 4 16-bit WAV.
class FileSink : public Sink {
  public:
    FileSink(std::string path, int32_t format) : m_path(std::move(path)), m_format(format) {}
    ~FileSink() override;

    static bool isFormat(int32_t format) { return format >= 0 && format <= 4; }

    int32_t open(int sampleRate) override;
    int32_t write(const int16_t* samples, std::size_t count) override;
    int32_t finish() override;
    void interrupt() override {}
    int64_t heard() const override { return m_written; }

    // Size of the finished file in bytes.
    int64_t bytesWritten() const { return m_bytes; }

  private:
    std::string m_path;
    int32_t m_format;
    int m_fd = -1;  // the file libsndfile writes to
    SNDFILE* m_file = nullptr;
    std::atomic<int64_t> m_written{0};
    int64_t m_bytes = 0;
};

}  // namespace saymgr::audio
