#include "clisession.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "binding/dictionaryloading.h"
#include "binding/fieldtext.h"
#include "commandmonitor.h"
#include "common/codepage.h"
#include "common/replacementfile.h"
#include "common/textlimits.h"
#include "monitor/subtitles.h"
#include "monitor/timingfigures.h"

namespace cli {
namespace {

constexpr int32_t kOne = 1;

// The outcome of a step: its status (SAYMGR_OK when it worked) and what it was doing.
Outcome outcomeOf(int32_t status, std::string context) {
    return Outcome{status, std::move(context), false};
}

// Reads a whole text file ('-' = standard input) as bytes, at most one byte more than a text
// may have, so that a longer one is refused without reading it all.
int32_t readTextFile(const std::string& path, std::string& text) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            return SAYMGR_EFILE_NOT_FOUND;
        }
        file.open(path, std::ios::binary);
        if (!file || std::filesystem::is_directory(path, error)) {
            return SAYMGR_EFILE_OPEN;
        }
        in = &file;
    }
    constexpr std::size_t kBlock = std::size_t{64} * 1024;
    text.clear();
    while (text.size() <= common::kMaxTextBytes && *in) {
        const std::size_t before = text.size();
        text.resize(before + kBlock);
        in->read(text.data() + before, kBlock);
        text.resize(before + static_cast<std::size_t>(in->gcount()));
    }
    return in->bad() ? SAYMGR_EFILE_OPEN : SAYMGR_OK;
}

}  // namespace

CliSession::CliSession(const CliOptions& options, binding::HostThread& host,
                       std::chrono::steady_clock::time_point start)
    : m_options(options), m_host(host), m_start(start) {}

CliSession::~CliSession() {
    if (!m_open) {
        return;
    }
    for (const int32_t handle : m_dictionaries) {
        ops().EngineUnloadDictionary(m_instance, handle);
    }
    ops().EngineClose(m_instance);
}

bool CliSession::requestStop() {
    m_stopRequested = true;
    if (!m_speaking) {
        return false;
    }
    m_host.post([this] {
        if (m_open) {
            ops().EngineStop(m_instance, kOne);
        }
    });
    return true;
}

Outcome CliSession::run() {
    using Step = Outcome (CliSession::*)();
    static constexpr Step kSteps[] = {&CliSession::openEngine,        &CliSession::selectLanguage,
                                      &CliSession::applySettings,     &CliSession::printInformation,
                                      &CliSession::compileDictionary, &CliSession::loadDictionaries,
                                      &CliSession::speakText};
    for (const Step step : kSteps) {
        Outcome outcome = (this->*step)();
        if (m_stopRequested) {
            outcome.interrupted = true;
        }
        if (outcome.status != SAYMGR_OK || outcome.interrupted) {
            return outcome;
        }
    }
    return {};
}

Outcome CliSession::openEngine() {
    m_library = std::make_unique<binding::EngineLibrary>(m_options.enginePath);
    if (!m_library->isLoaded()) {
        return outcomeOf(SAYMGR_EENGINE_LOADING, m_library->loadError());
    }
    const int32_t status = ops().EngineOpen(&m_instance, m_host.handle(), &m_languages);
    if (status != SAYMGR_OK) {
        return outcomeOf(status, "opening the engine");
    }
    m_open = true;
    if (m_options.listLanguages) {
        listLanguages();
    }
    return {};
}

void CliSession::listLanguages() const {
    const int32_t count = std::clamp(m_languages.count, 0, int32_t{SAYMGR_MAX_LANGUAGES});
    for (int32_t i = 0; i < count; ++i) {
        const LanguageEntry& entry = m_languages.entries[i];
        std::printf(
            "%d\t%s\t%s\t%d\n", i + 1, binding::fieldText(entry.name, sizeof entry.name).c_str(),
            binding::fieldText(entry.variant, sizeof entry.variant).c_str(), entry.languageId);
    }
    std::fflush(stdout);
}

Outcome CliSession::selectLanguage() {
    const bool needed = m_options.language != 0 || m_options.info || m_options.about ||
                        m_options.phonemes || !m_options.compileSource.empty() ||
                        !m_options.dictionaries.empty() || m_options.speak ||
                        !m_options.generatePath.empty();
    if (!needed) {
        return {};
    }
    const int32_t count = std::clamp(m_languages.count, 0, int32_t{SAYMGR_MAX_LANGUAGES});
    int32_t position = m_options.language;
    for (int32_t i = 1; position == 0 && i <= count; ++i) {
        if (m_languages.entries[i - 1].languageId != 0) {
            position = i;
        }
    }
    if (position < 1 || position > count) {
        return outcomeOf(SAYMGR_ERANGE, "language " + std::to_string(m_options.language) +
                                            " (the engine has " + std::to_string(count) + ")");
    }
    m_languagePosition = position;
    const int32_t status =
        ops().EngineSelectLanguage(m_instance, m_languages.entries[position - 1].languageId, kOne);
    return outcomeOf(status, "selecting language " + std::to_string(position));
}

Outcome CliSession::applySettings() {
    if (m_options.frequency != 0) {
        const int32_t status = ops().EngineSetFrequency(m_instance, m_options.frequency);
        if (status != SAYMGR_OK) {
            return outcomeOf(status, "setting the frequency");
        }
    }
    if (m_options.jobs != 0) {
        const auto setJobs = m_library->extensions().SaymgrSetJobs;
        const int32_t status =
            setJobs != nullptr ? setJobs(m_instance, m_options.jobs) : SAYMGR_EENGINE_LOADING;
        if (status != SAYMGR_OK) {
            return outcomeOf(status, "setting the number of jobs");
        }
    }
    if (m_options.hasVoiceParameters()) {
        const int32_t status = ops().EngineSetVoiceParameters(
            m_instance, kOne, m_options.volume, m_options.speaker, m_options.rate, m_options.pitch,
            SAYMGR_VOICE_MODE_SPEAK, SAYMGR_VOICE_LAST_SPEAK);
        if (status != SAYMGR_OK) {
            return outcomeOf(status, "setting the voice");
        }
    }
    return {};
}

Outcome CliSession::printInformation() {
    if (m_options.info) {
        ManufacturerInfo maker{};
        ops().EngineGetManufacturerInfo(&maker);
        LanguageInfo language{};
        ops().EngineGetLanguageInfo(m_instance, m_languagePosition, &language);
        InstanceInfo instance{};
        ops().EngineGetInstanceInfo(m_instance, &instance);
        std::printf("Manufacturer: %s\nNotice: %s\n",
                    binding::fieldText(maker.manufacturer, sizeof maker.manufacturer).c_str(),
                    binding::fieldText(maker.noticeText, sizeof maker.noticeText).c_str());
        std::printf(
            "Language: %s (%s), version %s, %d speakers, coding scheme %s\n",
            binding::fieldText(language.language, sizeof language.language).c_str(),
            binding::fieldText(language.country, sizeof language.country).c_str(),
            binding::fieldText(language.version, sizeof language.version).c_str(),
            language.speakerCount,
            binding::fieldText(language.codingScheme, sizeof language.codingScheme).c_str());
        std::printf("Frequencies: 7.2 kHz%s%s%s; current code %d\n",
                    instance.has8kHz ? ", 8 kHz" : "", instance.has10kHz ? ", 10 kHz" : "",
                    instance.has11kHz ? ", 11.025 kHz" : "", instance.frequency);
    }
    if (m_options.about) {
        std::string about(SAYMGR_ABOUT_TEXT_SIZE, '\0');
        ops().EngineGetAboutText(m_instance, about.data());
        about.back() = '\0';
        std::printf("%s\n", binding::fieldText(about.data(), about.size()).c_str());
    }
    std::fflush(stdout);
    return {};
}

Outcome CliSession::compileDictionary() {
    if (m_options.compileSource.empty()) {
        return {};
    }
    const int32_t status = ops().EngineCompileDictionary(
        m_instance, m_options.compileSource.c_str(),
        m_options.dosDictionaries ? SAYMGR_TEXT_DOS : SAYMGR_TEXT_ANSI,
        m_options.compileTarget.c_str());
    // Writing concerns only the target; a file that cannot be opened is the source only when
    // the source itself cannot be read.
    const bool sourceReadable = std::ifstream(m_options.compileSource).good() &&
                                !std::filesystem::is_directory(m_options.compileSource);
    const bool target =
        status == SAYMGR_EFILE_WRITE || (status == SAYMGR_EFILE_OPEN && sourceReadable);
    return outcomeOf(status, target ? m_options.compileTarget : m_options.compileSource);
}

Outcome CliSession::loadDictionaries() {
    for (const std::string& path : m_options.dictionaries) {
        Outcome outcome = loadDictionary(path);
        if (outcome.status != SAYMGR_OK) {
            return outcome;
        }
    }
    return {};
}

Outcome CliSession::loadDictionary(const std::string& path) {
    int32_t handle = 0;
    const int32_t status =
        binding::loadDictionary(ops(), m_instance, path, m_options.dosDictionaries, handle);
    if (status != SAYMGR_OK) {
        return outcomeOf(status, path);
    }
    m_dictionaries.push_back(handle);
    return {};
}

Outcome CliSession::speakText() {
    if (!m_options.speak && m_options.generatePath.empty() && !m_options.phonemes) {
        return {};
    }
    std::string text;
    const bool dos = m_options.textSource == TextSource::DosFile;
    if (m_options.textSource == TextSource::Argument) {
        text = m_options.text;
    } else if (const int32_t status = readTextFile(m_options.text, text); status != SAYMGR_OK) {
        return outcomeOf(status, m_options.text);
    }
    if (text.size() > common::kMaxTextBytes) {
        return outcomeOf(SAYMGR_EMEMORY_ALLOC, m_options.text + ": more than " +
                                                   std::to_string(common::kMaxTextBytes >> 20) +
                                                   " MiB of text");
    }
    const int32_t form = dos ? SAYMGR_TEXT_DOS : SAYMGR_TEXT_ANSI;
    if (m_options.phonemes) {
        if (Outcome outcome = printPhonemes(text, form); outcome.status != SAYMGR_OK) {
            return outcome;
        }
    }
    m_speaking = true;
    Outcome outcome = produceSpeech(text, form);
    m_speaking = false;
    return outcome;
}

Outcome CliSession::printPhonemes(const std::string& text, int32_t form) {
    std::vector<binding::PhonemeWord> words;
    const int32_t status =
        binding::textToPhonemes(m_library->extensions(), m_instance, text, form, words);
    if (status != SAYMGR_OK) {
        return outcomeOf(status, "transcribing the text into phonemes");
    }
    const auto codePage =
        form == SAYMGR_TEXT_DOS ? common::CodePage::Dos437 : common::CodePage::Ansi1252;
    for (const binding::PhonemeWord& word : words) {
        const std::string source =
            common::toUtf8(std::string_view(text).substr(static_cast<std::size_t>(word.start),
                                                         static_cast<std::size_t>(word.length)),
                           codePage);
        std::printf("%d\t%d\t%s\t%s\n", word.start, word.length, source.c_str(), word.ipa.c_str());
    }
    std::fflush(stdout);
    return {};
}

Outcome CliSession::produceSpeech(const std::string& text, int32_t form) {
    const auto length = static_cast<int32_t>(text.size());
    int32_t reserved = 0;
    // The subtitles go with the first command: the generated file when there is one.
    bool subtitlesDue = !m_options.subtitlesPath.empty();
    if (!m_options.generatePath.empty()) {
        Outcome outcome = watchCommand("generate", m_options.generatePath, text, subtitlesDue, [&] {
            return ops().EngineSpeakToFile(m_instance, text.c_str(), length,
                                           m_options.generatePath.c_str(), m_options.format, form,
                                           0, &reserved);
        });
        subtitlesDue = false;
        if (outcome.status != SAYMGR_OK || m_stopRequested) {
            return outcome;
        }
    }
    if (m_options.speak) {
        return watchCommand("speak", "speaking", text, subtitlesDue, [&] {
            return ops().EngineSpeak(m_instance, kOne, text.c_str(), length, form, &reserved);
        });
    }
    return {};
}

Outcome CliSession::watchCommand(const char* name, const std::string& context,
                                 const std::string& text, bool subtitles,
                                 const std::function<int32_t()>& command) {
    const bool dos = m_options.textSource == TextSource::DosFile;
    std::optional<CommandMonitor> watch;
    if (m_options.monitorsSpeech()) {
        watch.emplace(m_library->extensions(), m_instance, text, dos,
                      CommandMonitor::Printing{m_options.events, m_options.eventsJson, m_start});
        ops().EngineSetCallback(m_instance, kOne, CommandMonitor::callback());
    }
    const int32_t status = command();
    if (status != SAYMGR_OK) {
        return outcomeOf(status, context);
    }
    if (watch && m_options.report) {
        std::printf("%s:\n%s", name,
                    monitor::formatTiming(monitor::measureTiming(watch->log())).c_str());
        std::fflush(stdout);
    }
    if (watch && subtitles) {
        return writeSubtitles(watch->log());
    }
    return {};
}

Outcome CliSession::writeSubtitles(const monitor::SpeechLog& log) const {
    const std::string file = monitor::formatCues(monitor::buildCues(log, m_options.subtitleUnit),
                                                 m_options.subtitleFormat);
    const auto status = common::ReplacementFile::replace(m_options.subtitlesPath, file);
    if (status == common::ReplacementFile::Status::Ok) {
        return {};
    }
    return outcomeOf(status == common::ReplacementFile::Status::CannotCreate ? SAYMGR_EFILE_OPEN
                                                                             : SAYMGR_EFILE_WRITE,
                     m_options.subtitlesPath);
}

}  // namespace cli
