#pragma once

#include <kissfft/kiss_fftr.h>

#include <cstdint>
#include <span>
#include <vector>

namespace suite {

// The spectrum of a stretch of speech on the mel scale: the log energy (dB) of each of kBands
// triangular bands from 100 Hz to half the sampling frequency, in 25-ms frames every 10 ms.
class MelBands {
  public:
    static constexpr int kBands = 24;

    explicit MelBands(int32_t sampleRate);
    ~MelBands();
    MelBands(const MelBands&) = delete;
    MelBands& operator=(const MelBands&) = delete;

    // At least one frame; a stretch shorter than a frame is padded with silence.
    std::vector<std::vector<double>> frames(std::span<const int16_t> samples) const;

  private:
    std::vector<double> frame(std::span<const int16_t> samples) const;

    int m_frameLength;
    int m_hop;
    std::vector<float> m_window;
    // A band's triangle: the weights of the FFT bins from `first` on.
    struct Filter {
        std::size_t first = 0;
        std::vector<float> weights;
    };

    std::vector<Filter> m_filters;
    kiss_fftr_cfg m_plan;
};

// How differently two stretches sound, in dB: the frames of the shorter are stretched in time
// onto those of the longer, and the root mean square of the band-by-band difference of each
// pair of frames is averaged. A change of tempo alone hardly counts; other sounds do.
double spectralDistance(const std::vector<std::vector<double>>& first,
                        const std::vector<std::vector<double>>& second);

}  // namespace suite
