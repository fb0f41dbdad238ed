#pragma once

#include <saymgr.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "binding/activeregistration.h"
#include "binding/engineextensions.h"
#include "binding/engineops.h"

namespace testsupport {

// One recorded argument: integers widened to int64, texts copied.
using EngineArg = std::variant<int64_t, std::string>;

// One call the program made, with its operation name ("EngineSetFrequency") and the arguments
// it passed, in order. Out-pointers to records are not recorded; texts are.
struct EngineCall {
    std::string operation;
    std::vector<EngineArg> args;

    bool operator==(const EngineCall&) const = default;
};

void PrintTo(const EngineCall& call, std::ostream* out);

// A recording engine that lives in the test's own process. Its operation table (ops()) has
// the twenty operations of the engine; each one forwards to the FakeEngine object alive at
// the time, which answers with scripted statuses and records and logs the call. While
// EngineSpeak or EngineSpeakToFile runs, it plays the speak script: notifications through the
// registered EngineNotifyProc and arbitrary actions (press Stop, check the window...), with a
// run of the host thread's dispatch after each step so posted events are handled. Only one
// FakeEngine may exist at a time.
//
// Arguments recorded per operation (instance first where the operation has one):
//   EngineOpen                  ()
//   EngineClose                 (instance)
//   EngineSpeak                 (instance, one, text, length, textForm)
//   EngineStop/Pause/Resume     (instance, one)
//   EngineSpeakToFile           (instance, text, length, path, format, textForm, zero)
//   EngineSetVoiceParameters    (instance, one, volume, speaker, rate, pitch, mode, lastValue)
//   EngineSetFrequency          (instance, frequencyCode)
//   EngineLoadDictionary        (instance, path)
//   EngineUnloadDictionary      (instance, handle)
//   EngineGetManufacturerInfo   ()
//   EngineSetAccelerationRule   (instance, first, second)
//   EngineCompileDictionary     (instance, textPath, flag, binaryPath)
//   EngineGetLanguageInfo       (instance, position)
//   EngineSelectLanguage        (instance, languageId, one)
//   EngineSetCallback           (instance, one, callback != null)
//   EngineSetSystemMode         (instance, modeBits)
//   EngineGetAboutText          (instance)
//   EngineGetInstanceInfo       (instance)
//   SaymgrSetAudioTap           (instance, tap != null)
//   SaymgrTextToPhonemes        (instance, text, textForm)
// Texts given with a length (EngineSpeak, EngineSpeakToFile) are copied for that many bytes.
class FakeEngine {
  public:
    FakeEngine();
    FakeEngine(const FakeEngine&) = delete;
    FakeEngine& operator=(const FakeEngine&) = delete;

    // The operation table that forwards to the current FakeEngine. With none alive every
    // operation answers SAYMGR_EENGINE_LOADING.
    static const binding::EngineOps& ops();

    // ---- Languages (copied into the caller's list by EngineOpen) ----
    // Appends an entry and returns its 1-based position in the list.
    int addLanguage(const std::string& name, const std::string& variant, int32_t id);
    // Sets the list's count as given, whatever the entries (for odd counts).
    void setLanguageCount(int32_t count);
    const LanguageList& languageList() const { return m_languages; }

    // ---- Statuses ----
    // The status `operation` answers from now on (default 0).
    void setStatus(const std::string& operation, int32_t status);
    // Statuses for the next calls of `operation`, one per call, before the standing status.
    void queueStatus(const std::string& operation, int32_t status);

    // ---- Records ----
    void setInstanceHandle(int32_t instance) { m_instanceHandle = instance; }
    void setInstanceInfo(int32_t frequencyCode, bool has8kHz, bool has10kHz, bool has11kHz);
    InstanceInfo& instanceInfo() { return m_instanceInfo; }
    // LanguageInfo answered for a 1-based position (zeros for others).
    void setLanguageInfo(int32_t position, const LanguageInfo& info);
    static LanguageInfo makeLanguageInfo(const std::string& version, const std::string& language,
                                         const std::string& country, int32_t speakerCount,
                                         const std::string& codingScheme);
    void setManufacturerInfo(const std::string& manufacturer, const std::string& noticeText);
    void setAboutText(const std::string& text) { m_aboutText = text; }
    // First handle EngineLoadDictionary hands out; each successful load takes the next.
    void setNextDictionaryHandle(int32_t handle) { m_nextDictionaryHandle = handle; }
    // Bytes a successful EngineCompileDictionary writes to the binary path (set: a small text).
    void setCompiledDictionaryBytes(std::optional<std::string> bytes);

    // ---- Speaking ----
    // Steps played, in order, inside every EngineSpeak and EngineSpeakToFile call. After an
    // EngineStop from inside, the remaining steps are skipped except end notifications (7001).
    void addNotification(int32_t code, int32_t value1 = 0, int32_t value2 = 0);
    void addAction(std::function<void()> action);
    void clearSpeakScript() { m_speakScript.clear(); }
    // Value EngineSpeakToFile stores in its bytes-written argument, and the bytes it writes to
    // the output path when it succeeds (nothing is written when unset).
    void setBytesWritten(int32_t bytes) { m_bytesWritten = bytes; }
    void setSpeakToFileBytes(std::optional<std::string> bytes) { m_fileBytes = std::move(bytes); }
    // The host thread to dispatch during speaking when the test did not call EngineOpen.
    void setHostThread(SaymgrHostThread* thread) { m_hostThread = thread; }
    SaymgrHostThread* hostThread() const { return m_hostThread; }
    EngineNotifyProc callback() const { return m_callback; }
    // Whether a speak call is running now, and whether EngineStop came during it.
    bool isSpeaking() const { return m_speaking; }
    bool isPaused() const { return m_paused; }

    // ---- Monitoring extensions ----
    // The table of the three monitoring functions, forwarding to the current FakeEngine.
    static const binding::EngineExtensions& extensions();
    // A speak step: a notification heard at `sample` of the audio (at the sample rate below).
    void addPositionedNotification(int32_t code, int32_t value1, int32_t value2, int64_t sample);
    // A speak step: `count` samples of `value` handed to the audio tap, when one is set.
    void addAudio(int32_t count, int16_t value);
    void setSampleRate(int32_t rate) { m_sampleRate = rate; }
    // The words SaymgrTextToPhonemes answers while not speaking.
    void setPhonemes(std::vector<binding::PhonemeWord> words) { m_phonemes = std::move(words); }
    bool hasAudioTap() const { return m_tap != nullptr; }

    // ---- The call log ----
    const std::vector<EngineCall>& calls() const { return m_calls; }
    std::vector<EngineCall> callsTo(const std::string& operation) const;
    std::vector<std::string> operations() const;
    void clearCalls() { m_calls.clear(); }

  private:
    struct SpeakStep {
        int32_t code = 0;
        int32_t value1 = 0;
        int32_t value2 = 0;
        int64_t sample = -1;
        std::function<void()> action;
    };
    struct Bridge;
    friend struct Bridge;

    int32_t record(const char* operation, std::vector<EngineArg> args);
    int32_t playSpeakScript(int32_t status);
    void dispatchHost();

    LanguageList m_languages{};
    std::map<std::string, int32_t> m_statuses;
    std::map<std::string, std::deque<int32_t>> m_queuedStatuses;
    int32_t m_instanceHandle = 1;
    InstanceInfo m_instanceInfo{};
    std::map<int32_t, LanguageInfo> m_languageInfos;
    ManufacturerInfo m_manufacturerInfo{};
    std::string m_aboutText;
    int32_t m_nextDictionaryHandle = 1;
    std::optional<std::string> m_compiledBytes;
    std::vector<SpeakStep> m_speakScript;
    int32_t m_bytesWritten = 0;
    std::optional<std::string> m_fileBytes;
    SaymgrHostThread* m_hostThread = nullptr;
    EngineNotifyProc m_callback = nullptr;
    SaymgrAudioTapProc m_tap = nullptr;
    void* m_tapContext = nullptr;
    int64_t m_tapPosition = 0;
    int32_t m_sampleRate = 22050;
    // The position of the notification being delivered; -1 outside one or without a position.
    int64_t m_notifySample = -1;
    std::vector<binding::PhonemeWord> m_phonemes;
    bool m_speaking = false;
    bool m_paused = false;
    bool m_stopped = false;
    std::vector<EngineCall> m_calls;
    binding::ActiveRegistration<FakeEngine> m_registration{this};
};

}  // namespace testsupport
