#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace benchmonitor {

// The outline of tapped audio: the lowest and highest sample of each 10 ms, whatever the
// frequency, so that an hour of speech takes a few megabytes instead of all its samples.
class Envelope {
  public:
    static constexpr int kBucketsPerSecond = 100;

    struct Bucket {
        int16_t low = 0;
        int16_t high = 0;

        bool operator==(const Bucket&) const = default;
    };

    // Adds a block of samples starting at sample `position` of speech at `rate` Hz.
    void add(std::span<const int16_t> samples, int64_t position, int32_t rate);

    const std::vector<Bucket>& buckets() const { return m_buckets; }
    // Milliseconds of audio seen so far.
    double audioMs() const { return m_rate > 0 ? m_end * 1000.0 / m_rate : 0; }

  private:
    std::vector<Bucket> m_buckets;
    int64_t m_end = 0;
    int32_t m_rate = 0;
};

}  // namespace benchmonitor
