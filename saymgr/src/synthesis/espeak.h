#pragma once

#include <cstdint>
#include <string>

#include "synthesis/voicesettings.h"

namespace saymgr::synthesis {

// What the synthesizer produces while it speaks one text: samples at the synthesis rate and
// position events. Sample positions count from the start of that text.
class SynthesisListener {
  public:
    virtual ~SynthesisListener() = default;
    // False asks the synthesizer to stop at once.
    virtual bool onSamples(const int16_t* samples, std::size_t count) = 0;
    // A word (1-based character position and length in characters) reached at `sample`.
    virtual void onWord(int64_t sample, int32_t position, int32_t length) = 0;
    // The mark named `name` reached at `sample`.
    virtual void onMark(int64_t sample, const char* name) = 0;
};

// The process's eSpeak NG library, initialised for synchronous synthesis on first use and
// kept for the rest of the process (eSpeak NG cannot be initialised again once terminated).
// It keeps global state, so one thread at a time uses it.
class Espeak {
  public:
    static Espeak& process();
    Espeak(const Espeak&) = delete;
    Espeak& operator=(const Espeak&) = delete;

    bool isReady() const { return m_sampleRate > 0; }
    int sampleRate() const { return m_sampleRate; }
    static std::string version();

    // Chooses the voice and the base values for the texts that follow.
    bool configure(const std::string& languageVoice, const VoiceSettings& settings);
    // Speaks `settings`' rate multiplied by `rateFactor` from now on.
    void setRateFactor(double rateFactor);
    // Synthesizes SSML `markup`; false when the listener stopped it or synthesis failed.
    bool speak(const std::string& markup, SynthesisListener& listener);
    // The IPA transcription of plain UTF-8 `text` in the configured voice; its clauses are
    // separated by blanks.
    std::string phonemes(const std::string& text);

  private:
    Espeak();

    int m_sampleRate = 0;
    int m_wordsPerMinute = 175;
};

}  // namespace saymgr::synthesis
