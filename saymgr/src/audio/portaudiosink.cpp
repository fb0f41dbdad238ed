#include "audio/portaudiosink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "common/portaudiosystem.h"
#include "saymgr.h"

namespace saymgr::audio {

namespace {

constexpr auto kPoll = std::chrono::milliseconds(5);

}  // namespace

PortAudioSink::~PortAudioSink() {
    close();
}

int32_t PortAudioSink::open(int sampleRate) {
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice) {
        return SAYMGR_ENO_DEVICE;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        return SAYMGR_ENO_DEVICE;
    }
    PaStreamParameters parameters{};
    parameters.device = device;
    parameters.channelCount = 1;
    parameters.sampleFormat = paInt16;
    parameters.suggestedLatency = info->defaultLowOutputLatency;
    double deviceRate = sampleRate;
    if (Pa_IsFormatSupported(nullptr, &parameters, deviceRate) != paFormatIsSupported) {
        deviceRate = info->defaultSampleRate;
        m_deviceResampler = std::make_unique<Resampler>(sampleRate, deviceRate);
        m_deviceRatio = deviceRate / sampleRate;
    }
    if (Pa_OpenStream(&m_stream, nullptr, &parameters, deviceRate, paFramesPerBufferUnspecified,
                      paNoFlag, &PortAudioSink::onPlay, this) != paNoError) {
        m_stream = nullptr;
        return SAYMGR_EDEVICE_OPEN;
    }
    if (Pa_StartStream(m_stream) != paNoError) {
        close();
        return SAYMGR_EDEVICE_OPEN;
    }
    return 0;
}

int PortAudioSink::onPlay(const void*, void* output, unsigned long frames,
                          const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* self) {
    auto& sink = *static_cast<PortAudioSink*>(self);
    auto* out = static_cast<int16_t*>(output);
    std::size_t played = 0;
    if (!sink.m_paused && !sink.m_interrupted) {
        const uint64_t read = sink.m_readCount.load(std::memory_order_relaxed);
        const uint64_t available = sink.m_writeCount.load(std::memory_order_acquire) - read;
        played = static_cast<std::size_t>(std::min<uint64_t>(available, frames));
        for (std::size_t i = 0; i < played; ++i) {
            out[i] = sink.m_ring[(read + i) % kCapacity];
        }
        sink.m_readCount.store(read + played, std::memory_order_release);
    }
    std::fill(out + played, out + frames, int16_t{0});
    return paContinue;
}

int32_t PortAudioSink::write(const int16_t* samples, std::size_t count) {
    if (m_deviceResampler == nullptr) {
        return push(samples, count);
    }
    m_converted.clear();
    m_deviceResampler->process(samples, count, m_converted);
    return push(m_converted.data(), m_converted.size());
}

int32_t PortAudioSink::push(const int16_t* samples, std::size_t count) {
    std::size_t done = 0;
    while (done < count && !m_interrupted) {
        const uint64_t written = m_writeCount.load(std::memory_order_relaxed);
        const uint64_t room = kCapacity - (written - m_readCount.load(std::memory_order_acquire));
        if (room == 0) {
            if (!waitForDevice()) {
                return SAYMGR_EDEVICE_WRITE;
            }
            continue;
        }
        const auto part = static_cast<std::size_t>(std::min<uint64_t>(room, count - done));
        for (std::size_t i = 0; i < part; ++i) {
            m_ring[(written + i) % kCapacity] = samples[done + i];
        }
        m_writeCount.store(written + part, std::memory_order_release);
        done += part;
    }
    return 0;
}

int32_t PortAudioSink::finish() {
    int32_t status = 0;
    if (m_deviceResampler != nullptr && !m_interrupted) {
        m_converted.clear();
        m_deviceResampler->flush(m_converted);
        status = push(m_converted.data(), m_converted.size());
    }
    while (status == 0 && !m_interrupted && m_readCount.load() < m_writeCount.load()) {
        status = waitForDevice() ? 0 : SAYMGR_EDEVICE_WRITE;
    }
    if (status != 0) {
        m_interrupted = true;  // nothing more to drain: abort the stream
    }
    close();
    return status;
}

bool PortAudioSink::waitForDevice() {
    std::this_thread::sleep_for(kPoll);
    return Pa_IsStreamActive(m_stream) == 1 &&
           !m_watch.stalled(m_readCount.load(), m_paused, ProgressWatch::Clock::now());
}

int64_t PortAudioSink::heard() const {
    return static_cast<int64_t>(static_cast<double>(m_readCount.load()) / m_deviceRatio);
}

void PortAudioSink::close() {
    if (m_stream == nullptr) {
        return;
    }
    if (m_interrupted) {
        Pa_AbortStream(m_stream);
    } else {
        Pa_StopStream(m_stream);
    }
    Pa_CloseStream(m_stream);
    m_stream = nullptr;
}

}  // namespace saymgr::audio
