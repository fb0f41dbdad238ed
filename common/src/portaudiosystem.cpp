#include "common/portaudiosystem.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

namespace common {

namespace {

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void quietJack(const char*) {}

}  // namespace

PortAudioSystem::PortAudioSystem() {
    snd_lib_error_set_handler(quietAlsa);
    jack_set_error_function(quietJack);
    jack_set_info_function(quietJack);
    m_ready = Pa_Initialize() == paNoError;
}

PortAudioSystem::~PortAudioSystem() {
    if (m_ready) {
        Pa_Terminate();
    }
}

}  // namespace common
