#include "binding/audiotap.h"

#include <utility>

namespace binding {

AudioTap::AudioTap(const EngineExtensions& extensions, int32_t instance, Handler handler)
    : m_extensions(extensions),
      m_instance(instance),
      m_handler(std::move(handler)),
      m_status(extensions.SaymgrSetAudioTap == nullptr
                   ? SAYMGR_EENGINE_LOADING
                   : extensions.SaymgrSetAudioTap(instance, &AudioTap::receive, this)) {}

AudioTap::~AudioTap() {
    if (m_status == SAYMGR_OK) {
        m_extensions.SaymgrSetAudioTap(m_instance, nullptr, nullptr);
    }
}

void AudioTap::receive(void* context, const int16_t* samples, int32_t count, int64_t position,
                       int32_t sampleRate) {
    auto& tap = *static_cast<AudioTap*>(context);
    if (tap.m_handler && count > 0) {
        tap.m_handler({samples, static_cast<std::size_t>(count)}, position, sampleRate);
    }
}

}  // namespace binding
