#include "envelope.h"

#include <algorithm>

namespace benchmonitor {

void Envelope::add(std::span<const int16_t> samples, int64_t position, int32_t rate) {
    if (rate <= 0 || position < 0) {
        return;
    }
    m_rate = rate;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const int64_t sample = position + static_cast<int64_t>(i);
        const auto index = static_cast<std::size_t>(sample * kBucketsPerSecond / rate);
        const int16_t value = samples[i];
        if (index >= m_buckets.size()) {
            m_buckets.resize(index + 1, Bucket{value, value});
        }
        Bucket& bucket = m_buckets[index];
        bucket.low = std::min(bucket.low, value);
        bucket.high = std::max(bucket.high, value);
    }
    m_end = std::max(m_end, position + static_cast<int64_t>(samples.size()));
}

}  // namespace benchmonitor
