
#include <algorithm>
#include <cstring>
#include <map>

#include "binding/dictionaryloading.h"
#include "binding/enginelibrary.h"
#include "binding/fieldtext.h"
#include "binding/hostthread.h"
#include "binding/notifyforwarder.h"
#include "binding/statustext.h"
#include "common/codepage.h"
#include "common/temporaryfile.h"
#include "soundfile.h"
#include "suite/rendering.h"

namespace suite {
namespace {

constexpr int32_t kOne = 1;

std::string failure(const std::string& what, int32_t status) {
    return what + ": " + binding::statusMessage(status);
}

}  // namespace

// The open engine instance and what is set up in it now.
class CaseRenderer::Engine {
  public:
    explicit Engine(const std::string& path) : m_library(path) {
        if (!m_library.isLoaded()) {
            m_openError = "cannot load the engine: " + m_library.loadError();
            return;
        }
        const int32_t status = ops().EngineOpen(&m_instance, m_host.handle(), &m_languages);
        if (status != SAYMGR_OK) {
            m_openError = failure("opening the engine", status);
            return;
        }
        m_open = true;
        ops().EngineSetCallback(m_instance, kOne, binding::NotifyForwarder::callback());
    }
    ~Engine() {
        if (m_open) {
            unloadDictionaries();
            ops().EngineClose(m_instance);
        }
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const std::string& openError() const { return m_openError; }

    EngineIdentity identity() const {
        ManufacturerInfo maker{};
        ops().EngineGetManufacturerInfo(&maker);
        LanguageInfo language{};
        ops().EngineGetLanguageInfo(m_instance, 1, &language);
        return {binding::fieldText(maker.manufacturer, sizeof maker.manufacturer),
                binding::fieldText(language.version, sizeof language.version)};
    }

    RenderOutcome render(const SuiteCase& suiteCase) {
        if (!m_open) {
            return {std::nullopt, m_openError};
        }
        if (std::string error = setUp(suiteCase.settings); !error.empty()) {
            return {std::nullopt, error};
        }
        Rendering rendering;
        if (std::string error = speak(suiteCase.text, rendering); !error.empty()) {
            return {std::nullopt, error};
        }
        if (std::string error = transcribe(suiteCase.text, rendering); !error.empty()) {
            return {std::nullopt, error};
        }
        return {std::move(rendering), {}};
    }

  private:
    const binding::EngineOps& ops() const { return m_library.ops(); }

    std::string setUp(const CaseSettings& settings) {
        const int32_t languageId = findLanguage(settings.language);
        if (languageId == 0) {
            return "unknown language \"" + settings.language + "\"";
        }
        if (int32_t status = ops().EngineSelectLanguage(m_instance, languageId, kOne);
            status != 0) {
            return failure("selecting " + settings.language, status);
        }
        if (int32_t status = ops().EngineSetFrequency(m_instance, settings.frequency);
            status != 0) {
            return failure("setting the frequency", status);
        }
        if (int32_t status = ops().EngineSetVoiceParameters(
                m_instance, kOne, settings.volume, settings.speaker, settings.rate, settings.pitch,
                SAYMGR_VOICE_MODE_SPEAK, SAYMGR_VOICE_LAST_SPEAK);
            status != 0) {
            return failure("setting the voice", status);
        }
        if (settings.systemMode) {
            ops().EngineSetSystemMode(m_instance, *settings.systemMode);
        }
        return loadDictionaries(settings.dictionaries);
    }

  public:
    int32_t findLanguage(const std::string& code) const {
        const int32_t count = std::clamp(m_languages.count, 0, int32_t{SAYMGR_MAX_LANGUAGES});
        for (int32_t i = 0; i < count; ++i) {
            const LanguageEntry& entry = m_languages.entries[i];
            if (binding::fieldText(entry.variant, sizeof entry.variant) == code) {
                return entry.languageId;
            }
        }
        return 0;
    }

  private:
    // Keeps the dictionaries loaded while the cases ask for the same ones.
    std::string loadDictionaries(const std::vector<std::filesystem::path>& paths) {
        if (paths == m_dictionaryPaths) {
            return {};
        }
        unloadDictionaries();
        for (const std::filesystem::path& path : paths) {
            int32_t handle = 0;
            const int32_t status = binding::loadDictionary(ops(), m_instance, path, false, handle);
            if (status != SAYMGR_OK) {
                unloadDictionaries();
                return failure(path.string(), status);
            }
            m_dictionaries.push_back(handle);
        }
        m_dictionaryPaths = paths;
        return {};
    }

    void unloadDictionaries() {
        for (const int32_t handle : m_dictionaries) {
            ops().EngineUnloadDictionary(m_instance, handle);
        }
        m_dictionaries.clear();
        m_dictionaryPaths.clear();
    }

    std::string speak(const std::string& text, Rendering& rendering) {
        const common::TemporaryFile wave("voxtrial-case-", ".wav");
        if (wave.path().empty()) {
            return "cannot create a temporary file";
        }
        const common::CodePage codePage = common::CodePage::Ansi1252;
        const binding::NotifyForwarder forwarder([&](int32_t code, int32_t value1, int32_t value2) {
            if (code != SAYMGR_NOTIFY_MARK1) {
                return;
            }
            const std::optional<binding::AudioPosition> heard =
                binding::notifyPosition(m_library.extensions(), m_instance);
            const std::string_view bytes =
                std::string_view(text).substr(static_cast<std::size_t>(std::max(value2, 0)));
            rendering.words.push_back(
                {value2,
                 value1,
                 common::toUtf8(bytes.substr(0, static_cast<std::size_t>(std::max(value1, 0))),
                                codePage),
                 heard ? heard->sample : -1,
                 {}});
        });
        int32_t written = 0;
        const int32_t status = ops().EngineSpeakToFile(
            m_instance, text.c_str(), static_cast<int32_t>(text.size()), wave.path().c_str(),
            SAYMGR_FORMAT_WAVE16, SAYMGR_TEXT_ANSI, 0, &written);
        if (status != SAYMGR_OK) {
            return failure("speaking", status);
        }
        return readSound(wave.path(), rendering) ? "" : "cannot read the engine's sound file";
    }

    std::string transcribe(const std::string& text, Rendering& rendering) {
        std::vector<binding::PhonemeWord> words;
        const int32_t status = binding::textToPhonemes(m_library.extensions(), m_instance, text,
                                                       SAYMGR_TEXT_ANSI, words);
        if (status != SAYMGR_OK) {
            return failure("transcribing", status);
        }
        std::map<int32_t, std::string> byStart;
        for (binding::PhonemeWord& word : words) {
            byStart[word.start] = std::move(word.ipa);
        }
        for (WordRecord& word : rendering.words) {
            if (const auto found = byStart.find(word.start); found != byStart.end()) {
                word.ipa = found->second;
            }
        }
        return {};
    }

    binding::EngineLibrary m_library;
    binding::HostThread m_host;
    LanguageList m_languages{};
    int32_t m_instance = 0;
    bool m_open = false;
    std::string m_openError;
    std::vector<int32_t> m_dictionaries;
    std::vector<std::filesystem::path> m_dictionaryPaths;
};

CaseRenderer::CaseRenderer(const std::string& enginePath)
    : m_engine(std::make_unique<Engine>(enginePath)) {}

CaseRenderer::~CaseRenderer() = default;

const std::string& CaseRenderer::openError() const {
    return m_engine->openError();
}

EngineIdentity CaseRenderer::identity() const {
    return m_engine->identity();
}

bool CaseRenderer::knowsLanguage(const std::string& code) const {
    return m_engine->findLanguage(code) != 0;
}

RenderOutcome CaseRenderer::render(const SuiteCase& suiteCase) {
    return m_engine->render(suiteCase);
}

}  // namespace suite
