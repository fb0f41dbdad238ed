#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "binding/engineextensions.h"

namespace binding {

// Hands each block of samples that reaches the engine's sink to a handler, from the next
// speak request on and for as long as the tap lives. status() is the engine's answer to the
// registration: SAYMGR_EENGINE_LOADING (-30) when the engine library has no audio tap.
class AudioTap {
  public:
    using Handler =
        std::function<void(std::span<const int16_t> samples, int64_t position, int32_t rate)>;

    AudioTap(const EngineExtensions& extensions, int32_t instance, Handler handler);
    ~AudioTap();
    AudioTap(const AudioTap&) = delete;
    AudioTap& operator=(const AudioTap&) = delete;

    int32_t status() const { return m_status; }

  private:
    static void receive(void* context, const int16_t* samples, int32_t count, int64_t position,
                        int32_t sampleRate);

    const EngineExtensions& m_extensions;
    int32_t m_instance;
    Handler m_handler;
    int32_t m_status;
};

}  // namespace binding
