#pragma once

namespace common {

// PortAudio initialised for as long as this object lives. The sound libraries beneath it
// (ALSA, JACK) report their device probing through their own error handlers, which are
// silenced here, so nothing reaches the process's standard error stream.
class PortAudioSystem {
  public:
    PortAudioSystem();
    ~PortAudioSystem();
    PortAudioSystem(const PortAudioSystem&) = delete;
    PortAudioSystem& operator=(const PortAudioSystem&) = delete;

    bool isReady() const { return m_ready; }

  private:
    bool m_ready = false;
};

}  // namespace common
