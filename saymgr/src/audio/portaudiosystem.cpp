#include "audio/portaudiosystem.h"

#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

namespace saymgr::audio {

StderrSilencer::StderrSilencer() {
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) {
        return;
    }
    m_saved = ::dup(STDERR_FILENO);
    if (m_saved >= 0) {
        ::dup2(null, STDERR_FILENO);
    }
    ::close(null);
}

StderrSilencer::~StderrSilencer() {
    if (m_saved >= 0) {
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
}

PortAudioSystem::PortAudioSystem() {
    StderrSilencer silencer;
    m_ready = Pa_Initialize() == paNoError;
}

PortAudioSystem::~PortAudioSystem() {
    if (m_ready) {
        StderrSilencer silencer;
        Pa_Terminate();
    }
}

}  // namespace saymgr::audio
