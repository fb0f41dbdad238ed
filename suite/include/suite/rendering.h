#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "suite/suite.h"

namespace suite {

// A word as the engine said it: its byte range in the case's text, the text in UTF-8, the
// sample where its mark was heard and its IPA transcription (empty when the engine gave none).
struct WordRecord {
    int32_t start = 0;
    int32_t length = 0;
    std::string text;
    int64_t sample = 0;
    std::string ipa;

    bool operator==(const WordRecord&) const = default;
};

// What the engine made of one case: its 16-bit mono audio and its words in order.
struct Rendering {
    int32_t sampleRate = 0;
    std::vector<int16_t> samples;
    std::vector<WordRecord> words;

    double durationMs() const {
        return sampleRate > 0 ? static_cast<double>(samples.size()) * 1000.0 / sampleRate : 0;
    }
};

// A rendering, or why the engine could not make it.
struct RenderOutcome {
    std::optional<Rendering> rendering;
    std::string error;
};

// The engine's own account of itself, kept with a reference.
struct EngineIdentity {
    std::string manufacturer;
    std::string version;

    bool operator==(const EngineIdentity&) const = default;
};

// Speaks suite cases with one engine instance, into audio kept in memory: each case with its
// own language, voice values, frequency and dictionaries.
class CaseRenderer {
  public:
    // `enginePath` empty: the engine beside the executable.
    explicit CaseRenderer(const std::string& enginePath);
    ~CaseRenderer();
    CaseRenderer(const CaseRenderer&) = delete;
    CaseRenderer& operator=(const CaseRenderer&) = delete;

    // Empty when the engine is open, else why not.
    const std::string& openError() const;
    EngineIdentity identity() const;
    // Whether the engine has the language with this variant code.
    bool knowsLanguage(const std::string& code) const;
    RenderOutcome render(const SuiteCase& suiteCase);

  private:
    class Engine;
    std::unique_ptr<Engine> m_engine;
};

}  // namespace suite
