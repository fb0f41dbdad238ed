#pragma once

namespace saymgr::audio {

// PortAudio initialised for as long as this object lives, with the sound system's chatter on
// the standard error stream silenced while it starts.
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

// Sends the standard error stream to /dev/null while it lives.
class StderrSilencer {
  public:
    StderrSilencer();
    ~StderrSilencer();
    StderrSilencer(const StderrSilencer&) = delete;
    StderrSilencer& operator=(const StderrSilencer&) = delete;

  private:
    int m_saved = -1;
};

}  // namespace saymgr::audio
