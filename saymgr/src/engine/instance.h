#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/sink.h"
#include "common/portaudiosystem.h"
#include "dictionary/userdictionary.h"
#include "parallel/parallelsynthesis.h"
#include "pipeline/speechjob.h"
#include "saymgr.h"
#include "saymgr_ext.h"
#include "synthesis/espeak.h"
#include "text/bytetable.h"

namespace saymgr::engine {

// The system speech mode bits: what a speak request does while another text is spoken.
//   0x01 speak directly: it is refused as busy (-16)
//   0x02 put text in queue: it is accepted and spoken after the current text
//   0x04 interrupt speech: with 0x08 (interruptible) the current text stops and the new one
//        is spoken; with 0x10 (not interruptible) it waits in the queue instead
// EngineStop always stops the current text and empties the queue.
enum SystemMode : int32_t {
    kSpeakDirectly = 0x01,
    kQueue = 0x02,
    kInterrupt = 0x04,
    kInterruptible = 0x08,
    kNotInterruptible = 0x10,
};

// The one engine instance: the chosen language, voice values, frequency, dictionaries and
// modes, and the speech in progress, which the blocking operations run on the host thread.
class Instance {
  public:
    explicit Instance(const SaymgrHostThread* thread);
    ~Instance();

    bool isReady() const { return m_espeak.isReady(); }
    bool isBusy() const { return m_running; }
    static void fillLanguages(LanguageList& list);

    int32_t speak(const char* text, int32_t length, int32_t textForm);
    int32_t speakToFile(const char* text, int32_t length, const char* path, int32_t format,
                        int32_t textForm, int32_t* bytesWritten);
    int32_t stop();
    int32_t pause();
    int32_t resume();

    int32_t setVoiceParameters(int32_t volume, int32_t speaker, int32_t rate, int32_t pitch);
    int32_t setFrequency(int32_t frequencyCode);
    int32_t selectLanguage(int32_t languageId);
    int32_t setAccelerationRule(int32_t firstLength, int32_t secondLength);
    int32_t setSystemMode(int32_t modeBits);
    void setCallback(EngineNotifyProc callback) { m_callback = callback; }
    void setAudioTap(SaymgrAudioTapProc tap, void* context);
    // The worker processes that write a long text into a file; 0 or less: the default.
    void setJobs(int32_t jobs);
    int32_t jobs() const { return m_jobs; }

    // The text length from which a file is written by worker processes (two jobs: measured,
    // 4 KiB of text take 0.2 s with two workers against 0.3 s alone), and their most.
    static constexpr int32_t kParallelTextBytes = 2 * parallel::kJobBytes;
    static constexpr int32_t kMaxJobs = 64;
    int32_t notifyPosition(int64_t* sample, int32_t* sampleRate) const;
    int32_t textToPhonemes(const char* text, int32_t length, int32_t textForm,
                           SaymgrPhonemeProc proc, void* context);

    int32_t compileDictionary(const char* textPath, int32_t flag, const char* binaryPath) const;
    int32_t loadDictionary(int32_t* handle, const char* path);
    int32_t unloadDictionary(int32_t handle);

    int32_t languageInfo(int32_t position, LanguageInfo& info) const;
    void instanceInfo(InstanceInfo& info) const;

  private:
    int32_t checkText(const char* text, int32_t length, int32_t textForm) const;
    pipeline::SpeechRequest request(const char* text, int32_t length, int32_t textForm) const;
    int32_t acceptWhileBusy(pipeline::SpeechRequest request);
    int32_t playbackSink(std::unique_ptr<audio::Sink>& sink);
    // Runs one speech to its end on the host thread; `fileBytes`, for a file sink, receives
    // the size of the finished file.
    int32_t run(pipeline::SpeechRequest request, std::unique_ptr<audio::Sink> sink,
                int64_t* fileBytes = nullptr);
    void deliver(std::vector<pipeline::Notification>& notifications);
    void deliverAudio();
    void notify(const pipeline::Notification& notification);
    void dispatch();
    void wake();

    SaymgrHostThread m_thread{};
    synthesis::Espeak& m_espeak = synthesis::Espeak::process();
    text::ByteTable m_dosTable{false};
    text::ByteTable m_ansiTable{true};
    std::unique_ptr<common::PortAudioSystem> m_portAudio;
    EngineNotifyProc m_callback = nullptr;
    SaymgrAudioTapProc m_tap = nullptr;
    int32_t m_jobs = parallel::defaultJobs();
    void* m_tapContext = nullptr;
    // The notification inside the callback at the moment, and its speech's frequency.
    const pipeline::Notification* m_delivering = nullptr;
    int m_deliveringRate = 0;

    int32_t m_languageId;
    synthesis::VoiceSettings m_voice;
    int32_t m_frequencyCode = SAYMGR_FREQ_11025;
    pipeline::AccelerationRules m_rules;
    int32_t m_systemMode = kSpeakDirectly | kNotInterruptible;
    std::vector<std::pair<int32_t, std::shared_ptr<const UserDictionary>>> m_dictionaries;
    int32_t m_nextDictionaryHandle = 1;

    std::unique_ptr<pipeline::SpeechJob> m_job;
    std::deque<pipeline::SpeechRequest> m_queue;
    // From the start of a blocking operation until it returns, also between two queued texts
    // and while the end of one is being notified.
    bool m_running = false;
    bool m_writingFile = false;
    bool m_stopRequested = false;
    bool m_startSent = false;
};

}  // namespace saymgr::engine
