#pragma once

#include <soxr.h>

#include <cstdint>
#include <vector>

namespace saymgr::audio {

// Converts 16-bit mono samples from the synthesis rate to an output rate with libsoxr,
// low-pass filtered to the output band.
class Resampler {
  public:
    Resampler(double inputRate, double outputRate);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    bool isReady() const { return m_soxr != nullptr; }
    double ratio() const { return m_outputRate / m_inputRate; }

    // Appends the output for `count` input samples to `output`.
    void process(const int16_t* input, std::size_t count, std::vector<int16_t>& output);
    // Appends what is still held in the filter, at the end of the input.
    void flush(std::vector<int16_t>& output);

  private:
    void run(const int16_t* input, std::size_t count, std::vector<int16_t>& output);

    double m_inputRate;
    double m_outputRate;
    soxr_t m_soxr = nullptr;
};

}  // namespace saymgr::audio
