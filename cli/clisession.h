#pragma once

#include <saymgr.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "binding/enginelibrary.h"
#include "binding/hostthread.h"
#include "clioptions.h"
#include "monitor/speechlog.h"

namespace cli {

// How a run ended: an engine status (0 = success) and what it was doing, for the message.
struct Outcome {
    int32_t status = SAYMGR_OK;
    std::string context;
    bool interrupted = false;
};

// One run of voxtrial-cli against the engine library: opens an instance, carries out the
// requested actions in a fixed order and releases the dictionaries and the instance again.
class CliSession {
  public:
    CliSession(const CliOptions& options, binding::HostThread& host,
               std::chrono::steady_clock::time_point start);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    Outcome run();

    // Stops running speech or generation. Callable from any thread. Returns false when
    // neither is running or about to run, so nothing needs stopping.
    bool requestStop();

  private:
    Outcome openEngine();
    Outcome selectLanguage();
    Outcome applySettings();
    Outcome printInformation();
    Outcome compileDictionary();
    Outcome loadDictionaries();
    Outcome loadDictionary(const std::string& path);
    Outcome speakText();
    Outcome printPhonemes(const std::string& text, int32_t form);
    Outcome produceSpeech(const std::string& text, int32_t form);
    // Runs one speak or generate command, watched as the options ask, then prints its report
    // and writes the subtitles when they are due.
    Outcome watchCommand(const char* name, const std::string& context, const std::string& text,
                         bool subtitles, const std::function<int32_t()>& command);
    Outcome writeSubtitles(const monitor::SpeechLog& log) const;
    void listLanguages() const;
    const binding::EngineOps& ops() const { return m_library->ops(); }

    const CliOptions& m_options;
    binding::HostThread& m_host;
    std::chrono::steady_clock::time_point m_start;
    std::unique_ptr<binding::EngineLibrary> m_library;
    LanguageList m_languages{};
    int32_t m_instance = 0;
    int32_t m_languagePosition = 0;
    bool m_open = false;
    std::vector<int32_t> m_dictionaries;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_speaking{false};
};

}  // namespace cli
