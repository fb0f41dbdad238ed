#pragma once

#include <sndfile.h>

#include <atomic>
#include <memory>
#include <string>

#include "audio/sink.h"
#include "audio/streamoutput.h"
#include "common/replacementfile.h"

namespace saymgr::audio {

// Writes the speech into a sound file with libsndfile in one of the engine's five formats:
// 0 16-bit linear raw (little-endian), 1 mu-law raw, 2 A-law raw, 3 8-bit WAV, 4 16-bit WAV.
// A regular file (or a path where nothing is yet) is written beside the target and takes its
// place only when complete, so a failure leaves an existing file as it was; a pipe or a
// device is written directly, as a stream that interrupt() can always end.
class FileSink : public Sink {
  public:
    FileSink(std::string path, int32_t format) : m_path(std::move(path)), m_format(format) {}
    ~FileSink() override;

    static bool isFormat(int32_t format) { return format >= 0 && format <= 4; }

    int32_t open(int sampleRate) override;
    int32_t write(const int16_t* samples, std::size_t count) override;
    int32_t finish() override;
    void interrupt() override;
    int64_t heard() const override { return m_written; }

    // Size of the finished file in bytes (0 for a pipe or a device).
    int64_t bytesWritten() const { return m_bytes; }

  private:
    int32_t openReplacement(SF_INFO& info);
    int32_t openStream(SF_INFO& info);
    // Completes the replacement file and puts it in the target's place.
    int32_t commit();

    std::string m_path;
    int32_t m_format;
    std::unique_ptr<common::ReplacementFile> m_replacement;
    std::unique_ptr<StreamOutput> m_stream;
    SNDFILE* m_file = nullptr;
    std::atomic<bool> m_interrupted{false};
    bool m_failed = false;  // a write failed: the file is not put in place
    std::atomic<int64_t> m_written{0};
    int64_t m_bytes = 0;
};

}  // namespace saymgr::audio
