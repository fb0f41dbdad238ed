#include "synthesis/espeak.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>

namespace saymgr::synthesis {

namespace {

// Milliseconds of audio per callback: small, so the first samples leave early and a stop
// is noticed at once.
constexpr int kBufferMs = 20;

thread_local SynthesisListener* t_listener = nullptr;
thread_local bool t_stopped = false;

int onSynthesis(short* samples, int count, espeak_EVENT* events) {
    SynthesisListener* listener = t_listener;
    if (listener == nullptr || t_stopped) {
        return 1;
    }
    for (espeak_EVENT* event = events; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
        if (event->type == espeakEVENT_WORD) {
            listener->onWord(event->sample, event->text_position, event->length);
        } else if (event->type == espeakEVENT_MARK && event->id.name != nullptr) {
            listener->onMark(event->sample, event->id.name);
        }
    }
    if (samples != nullptr && count > 0 &&
        !listener->onSamples(reinterpret_cast<const int16_t*>(samples),
                             static_cast<std::size_t>(count))) {
        t_stopped = true;
        return 1;
    }
    return 0;
}

}  // namespace

Espeak::Espeak() {
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMs, nullptr, 0);
    if (rate > 0) {
        m_sampleRate = rate;
        espeak_SetSynthCallback(onSynthesis);
    }
}

Espeak& Espeak::process() {
    static Espeak* const espeak = new Espeak();
    return *espeak;
}

std::string Espeak::version() {
    const char* path = nullptr;
    const char* text = espeak_Info(&path);
    return text != nullptr ? text : "";
}

bool Espeak::configure(const std::string& languageVoice, const VoiceSettings& settings) {
    if (espeak_SetVoiceByName(settings.voiceName(languageVoice).c_str()) != EE_OK &&
        espeak_SetVoiceByName(languageVoice.c_str()) != EE_OK) {
        return false;
    }
    m_wordsPerMinute = settings.wordsPerMinute();
    espeak_SetParameter(espeakVOLUME, settings.amplitude(), 0);
    espeak_SetParameter(espeakPITCH, settings.basePitch(), 0);
    espeak_SetParameter(espeakRATE, m_wordsPerMinute, 0);
    espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
    return true;
}

void Espeak::setRateFactor(double rateFactor) {
    const long rate = std::lround(m_wordsPerMinute * rateFactor);
    espeak_SetParameter(espeakRATE, static_cast<int>(std::clamp(rate, 80L, 450L)), 0);
}

bool Espeak::speak(const std::string& markup, SynthesisListener& listener) {
    t_listener = &listener;
    t_stopped = false;
    espeak_SetSynthCallback(onSynthesis);
    const espeak_ERROR result =
        espeak_Synth(markup.c_str(), markup.size() + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8 | espeakSSML | espeakPHONEMES, nullptr, nullptr);
    const bool completed = result == EE_OK && !t_stopped;
    t_listener = nullptr;
    return completed;
}

std::string Espeak::phonemes(const std::string& text) {
    std::string result;
    const void* next = text.c_str();
    while (next != nullptr) {
        const char* clause = espeak_TextToPhonemes(&next, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (clause != nullptr && *clause != '\0') {
            result += result.empty() ? "" : " ";
            result += clause;
        }
    }
    return result;
}

}  // namespace saymgr::synthesis
