#include "waveplayer.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// A sound longer than this is cut: a beep or a word, not a recording.
constexpr sf_count_t kMaxSeconds = 10;

}  // namespace

WavePlayer::~WavePlayer() {
    closeStream();
}

bool WavePlayer::play(const std::filesystem::path& file) {
    return playExcerpt(file, 0, INT64_MAX);
}

bool WavePlayer::playExcerpt(const std::filesystem::path& file, int64_t firstFrame,
                             int64_t frames) {
    closeStream();
    if (!load(file, firstFrame, frames)) {
        return false;
    }
    if (!m_portAudio) {
        m_portAudio = std::make_unique<common::PortAudioSystem>();
    }
    return m_portAudio->isReady() && startStream();
}

int WavePlayer::lengthMs() const {
    if (m_channels == 0 || m_sampleRate == 0) {
        return 0;
    }
    const auto frames =
        static_cast<long long>(m_samples.size() / static_cast<std::size_t>(m_channels));
    return static_cast<int>(frames * 1000 / m_sampleRate);
}

void WavePlayer::releaseIfFinished() {
    if (m_stream != nullptr && Pa_IsStreamActive(m_stream) != 1) {
        closeStream();
    }
}

bool WavePlayer::load(const std::filesystem::path& file, int64_t firstFrame, int64_t maxFrames) {
    SF_INFO info{};
    SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &info);
    if (sound == nullptr) {
        return false;
    }
    const sf_count_t first = std::clamp<sf_count_t>(firstFrame, 0, info.frames);
    const sf_count_t frames = std::min({info.frames - first, kMaxSeconds * info.samplerate,
                                        static_cast<sf_count_t>(std::max<int64_t>(maxFrames, 0))});
    if (first > 0 && sf_seek(sound, first, SEEK_SET) < 0) {
        sf_close(sound);
        return false;
    }
    const bool usable = info.channels > 0 && info.samplerate > 0 && frames > 0;
    if (usable) {
        m_samples.assign(static_cast<std::size_t>(frames * info.channels), 0.0f);
        const sf_count_t read = sf_readf_float(sound, m_samples.data(), frames);
        m_samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(read, 0) * info.channels));
        m_channels = info.channels;
        m_sampleRate = info.samplerate;
    }
    sf_close(sound);
    return usable && !m_samples.empty();
}

bool WavePlayer::startStream() {
    m_position = 0;
    const int outputChannels = std::min(m_channels, 2);
    if (Pa_OpenDefaultStream(&m_stream, 0, outputChannels, paFloat32, m_sampleRate,
                             paFramesPerBufferUnspecified, &WavePlayer::fill, this) != paNoError) {
        m_stream = nullptr;
        return false;
    }
    if (Pa_StartStream(m_stream) != paNoError) {
        closeStream();
        return false;
    }
    return true;
}

void WavePlayer::closeStream() {
    if (m_stream != nullptr) {
        Pa_AbortStream(m_stream);
        Pa_CloseStream(m_stream);
        m_stream = nullptr;
    }
}

int WavePlayer::fill(const void*, void* output, unsigned long frames,
                     const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* context) {
    auto* self = static_cast<WavePlayer*>(context);
    auto* out = static_cast<float*>(output);
    const auto channels = static_cast<std::size_t>(self->m_channels);
    const std::size_t outputChannels = std::min<std::size_t>(channels, 2);
    const std::size_t total = self->m_samples.size() / channels;
    std::size_t position = self->m_position;
    for (unsigned long frame = 0; frame < frames; ++frame, ++position) {
        for (std::size_t channel = 0; channel < outputChannels; ++channel) {
            *out++ = position < total ? self->m_samples[position * channels + channel] : 0.0f;
        }
    }
    self->m_position = std::min(position, total);
    return position >= total ? paComplete : paContinue;
}

}  // namespace platform
