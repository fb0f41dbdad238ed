#include "melbands.h"

#include <kissfft/kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace suite {
namespace {

constexpr double kLowestHz = 100;
constexpr double kFloorEnergy = 1e-2;  // -20 dB: quiet bands count as equally quiet

double toMel(double hz) {
    return 2595.0 * std::log10(1.0 + hz / 700.0);
}

double fromMel(double mel) {
    return 700.0 * (std::pow(10.0, mel / 2595.0) - 1.0);
}

// An even FFT length of at least `samples`.
int fftLength(int samples) {
    int length = 64;
    while (length < samples) {
        length *= 2;
    }
    return length;
}

}  // namespace

MelBands::MelBands(int32_t sampleRate)
    : m_frameLength(fftLength(sampleRate / 40)), m_hop(std::max(1, sampleRate / 100)) {
    m_window.resize(static_cast<std::size_t>(m_frameLength));
    for (int i = 0; i < m_frameLength; ++i) {
        m_window[static_cast<std::size_t>(i)] = static_cast<float>(
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (m_frameLength - 1)));
    }
    const int bins = m_frameLength / 2 + 1;
    const double lowest = toMel(kLowestHz);
    const double highest = toMel(sampleRate / 2.0);
    std::vector<double> edges;
    for (int i = 0; i < kBands + 2; ++i) {
        edges.push_back(fromMel(lowest + (highest - lowest) * i / (kBands + 1)));
    }
    for (int band = 0; band < kBands; ++band) {
        Filter filter;
        for (int bin = 0; bin < bins; ++bin) {
            const double hz = static_cast<double>(bin) * sampleRate / m_frameLength;
            const double rising = (hz - edges[band]) / (edges[band + 1] - edges[band]);
            const double falling = (edges[band + 2] - hz) / (edges[band + 2] - edges[band + 1]);
            const double weight = std::min(rising, falling);
            if (weight > 0) {
                if (filter.weights.empty()) {
                    filter.first = static_cast<std::size_t>(bin);
                }
                filter.weights.push_back(static_cast<float>(weight));
            }
        }
        m_filters.push_back(std::move(filter));
    }
    m_plan = kiss_fftr_alloc(m_frameLength, 0, nullptr, nullptr);
}

MelBands::~MelBands() {
    kiss_fftr_free(m_plan);
}

std::vector<std::vector<double>> MelBands::frames(std::span<const int16_t> samples) const {
    std::vector<std::vector<double>> result;
    const auto length = static_cast<std::size_t>(m_frameLength);
    for (std::size_t start = 0; result.empty() || start + length <= samples.size();
         start += static_cast<std::size_t>(m_hop)) {
        result.push_back(frame(samples.subspan(std::min(start, samples.size()))));
    }
    return result;
}

std::vector<double> MelBands::frame(std::span<const int16_t> samples) const {
    std::vector<kiss_fft_scalar> input(static_cast<std::size_t>(m_frameLength), 0.0f);
    const std::size_t count = std::min(samples.size(), input.size());
    for (std::size_t i = 0; i < count; ++i) {
        input[i] = static_cast<float>(samples[i]) / 32768.0f * m_window[i];
    }
    std::vector<kiss_fft_cpx> spectrum(static_cast<std::size_t>(m_frameLength / 2 + 1));
    kiss_fftr(m_plan, input.data(), spectrum.data());
    std::vector<double> bands;
    for (const Filter& filter : m_filters) {
        double energy = kFloorEnergy;
        for (std::size_t i = 0; i < filter.weights.size(); ++i) {
            const kiss_fft_cpx& bin = spectrum[filter.first + i];
            energy += filter.weights[i] * (bin.r * bin.r + bin.i * bin.i);
        }
        bands.push_back(10.0 * std::log10(energy));
    }
    return bands;
}

double spectralDistance(const std::vector<std::vector<double>>& first,
                        const std::vector<std::vector<double>>& second) {
    const std::size_t longer = std::max(first.size(), second.size());
    if (first.empty() || second.empty()) {
        return 0;
    }
    const auto at = [longer](const std::vector<std::vector<double>>& frames, std::size_t i) {
        return &frames[longer > 1 ? i * (frames.size() - 1) / (longer - 1) : 0];
    };
    double total = 0;
    for (std::size_t i = 0; i < longer; ++i) {
        const std::vector<double>& a = *at(first, i);
        const std::vector<double>& b = *at(second, i);
        double sum = 0;
        for (std::size_t band = 0; band < std::min(a.size(), b.size()); ++band) {
            sum += (a[band] - b[band]) * (a[band] - b[band]);
        }
        total += std::sqrt(sum / static_cast<double>(std::max<std::size_t>(a.size(), 1)));
    }
    return total / static_cast<double>(longer);
}

}  // namespace suite
