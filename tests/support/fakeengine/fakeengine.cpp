#include "fakeengine/fakeengine.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace testsupport {

namespace {

template <size_t N>
void copyText(char (&target)[N], const std::string& text) {
    std::memset(target, 0, N);
    std::memcpy(target, text.data(), std::min(text.size(), N - 1));
}

std::string textOf(const char* text) {
    return text ? std::string(text) : std::string();
}

std::string textOf(const char* text, int32_t length) {
    if (!text || length <= 0) {
        return {};
    }
    return std::string(text, static_cast<size_t>(length));
}

bool writeBytes(const char* path, const std::string& bytes) {
    if (!path) {
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

void PrintTo(const EngineCall& call, std::ostream* out) {
    *out << call.operation << '(';
    for (size_t i = 0; i < call.args.size(); ++i) {
        if (i > 0) {
            *out << ", ";
        }
        if (const auto* number = std::get_if<int64_t>(&call.args[i])) {
            *out << *number;
        } else {
            *out << '"' << std::get<std::string>(call.args[i]) << '"';
        }
    }
    *out << ')';
}

// The C-callable entries of the operation table; each forwards to the current FakeEngine.
struct FakeEngine::Bridge {
    static FakeEngine* current() { return binding::ActiveRegistration<FakeEngine>::current(); }

    static int32_t Open(int32_t* instance, SaymgrHostThread* thread, LanguageList* languages) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        fake->m_hostThread = thread;
        const int32_t status = fake->record("EngineOpen", {});
        if (status == 0) {
            if (instance) {
                *instance = fake->m_instanceHandle;
            }
            if (languages) {
                *languages = fake->m_languages;
            }
        }
        return status;
    }

    static int32_t Close(int32_t instance) { return simple("EngineClose", {instance}); }

    static int32_t Speak(int32_t instance, int32_t one, const char* text, int32_t length,
                         int32_t textForm, int32_t*) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        const int32_t status =
            fake->record("EngineSpeak", {instance, one, textOf(text, length), length, textForm});
        return fake->playSpeakScript(status);
    }

    static int32_t Stop(int32_t instance, int32_t one) {
        if (FakeEngine* fake = current(); fake && fake->m_speaking) {
            fake->m_stopped = true;
        }
        return simple("EngineStop", {instance, one});
    }

    static int32_t Pause(int32_t instance, int32_t one) {
        if (FakeEngine* fake = current(); fake && fake->m_speaking) {
            fake->m_paused = true;
        }
        return simple("EnginePause", {instance, one});
    }

    static int32_t Resume(int32_t instance, int32_t one) {
        if (FakeEngine* fake = current()) {
            fake->m_paused = false;
        }
        return simple("EngineResume", {instance, one});
    }

    static int32_t SpeakToFile(int32_t instance, const char* text, int32_t length, const char* path,
                               int32_t format, int32_t textForm, int32_t zero,
                               int32_t* bytesWritten) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        int32_t status = fake->record("EngineSpeakToFile", {instance, textOf(text, length), length,
                                                            textOf(path), format, textForm, zero});
        status = fake->playSpeakScript(status);
        if (status == 0 && fake->m_fileBytes) {
            writeBytes(path, *fake->m_fileBytes);
        }
        if (bytesWritten) {
            *bytesWritten = fake->m_bytesWritten;
        }
        return status;
    }

    static int32_t SetVoiceParameters(int32_t instance, int32_t one, int32_t volume,
                                      int32_t speaker, int32_t rate, int32_t pitch, int32_t mode,
                                      int32_t lastValue) {
        return simple("EngineSetVoiceParameters",
                      {instance, one, volume, speaker, rate, pitch, mode, lastValue});
    }

    static int32_t SetFrequency(int32_t instance, int32_t code) {
        return simple("EngineSetFrequency", {instance, code});
    }

    static int32_t LoadDictionary(int32_t instance, int32_t* handle, const char* path) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        const int32_t status = fake->record("EngineLoadDictionary", {instance, textOf(path)});
        if (status == 0 && handle) {
            *handle = fake->m_nextDictionaryHandle++;
        }
        return status;
    }

    static int32_t UnloadDictionary(int32_t instance, int32_t handle) {
        return simple("EngineUnloadDictionary", {instance, handle});
    }

    static int32_t GetManufacturerInfo(ManufacturerInfo* info) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        if (info) {
            *info = fake->m_manufacturerInfo;
        }
        return fake->record("EngineGetManufacturerInfo", {});
    }

    static int32_t SetAccelerationRule(int32_t instance, int32_t first, int32_t second) {
        return simple("EngineSetAccelerationRule", {instance, first, second});
    }

    static int32_t CompileDictionary(int32_t instance, const char* textPath, int32_t flag,
                                     const char* binaryPath) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        const int32_t status = fake->record("EngineCompileDictionary",
                                            {instance, textOf(textPath), flag, textOf(binaryPath)});
        if (status == 0 && fake->m_compiledBytes) {
            writeBytes(binaryPath, *fake->m_compiledBytes);
        }
        return status;
    }

    static int32_t GetLanguageInfo(int32_t instance, int32_t position, LanguageInfo* info) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        if (info) {
            const auto found = fake->m_languageInfos.find(position);
            *info = found != fake->m_languageInfos.end() ? found->second : LanguageInfo{};
        }
        return fake->record("EngineGetLanguageInfo", {instance, position});
    }

    static int32_t SelectLanguage(int32_t instance, int32_t languageId, int32_t one) {
        return simple("EngineSelectLanguage", {instance, languageId, one});
    }

    static int32_t SetCallback(int32_t instance, int32_t one, EngineNotifyProc callback) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        const int32_t status =
            fake->record("EngineSetCallback", {instance, one, callback != nullptr ? 1 : 0});
        if (status == 0) {
            fake->m_callback = callback;
        }
        return status;
    }

    static int32_t SetSystemMode(int32_t instance, int32_t modeBits) {
        return simple("EngineSetSystemMode", {instance, modeBits});
    }

    static int32_t GetAboutText(int32_t instance, char* buffer) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        if (buffer) {
            const size_t length =
                std::min(fake->m_aboutText.size(), size_t{SAYMGR_ABOUT_TEXT_SIZE - 1});
            std::memcpy(buffer, fake->m_aboutText.data(), length);
            buffer[length] = '\0';
        }
        return fake->record("EngineGetAboutText", {instance});
    }

    static int32_t GetInstanceInfo(int32_t instance, InstanceInfo* info) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        if (info) {
            *info = fake->m_instanceInfo;
        }
        return fake->record("EngineGetInstanceInfo", {instance});
    }

    static int32_t SetAudioTap(int32_t instance, SaymgrAudioTapProc tap, void* context) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        const int32_t status =
            fake->record("SaymgrSetAudioTap", {instance, tap != nullptr ? 1 : 0});
        if (status == 0) {
            fake->m_tap = tap;
            fake->m_tapContext = context;
        }
        return status;
    }

    static int32_t GetNotifyPosition(int32_t, int64_t* sample, int32_t* sampleRate) {
        FakeEngine* fake = current();
        if (!fake || fake->m_notifySample < 0) {
            return SAYMGR_ERANGE;
        }
        if (sample) {
            *sample = fake->m_notifySample;
        }
        if (sampleRate) {
            *sampleRate = fake->m_sampleRate;
        }
        return 0;
    }

    static int32_t TextToPhonemes(int32_t instance, const char* text, int32_t length,
                                  int32_t textForm, SaymgrPhonemeProc proc, void* context) {
        FakeEngine* fake = current();
        if (!fake) {
            return SAYMGR_EENGINE_LOADING;
        }
        const int32_t status =
            fake->record("SaymgrTextToPhonemes", {instance, textOf(text, length), textForm});
        if (status != 0 || fake->m_speaking) {
            return status != 0 ? status : SAYMGR_EBUSY;
        }
        for (const binding::PhonemeWord& word : fake->m_phonemes) {
            proc(context, word.start, word.length, word.ipa.c_str());
        }
        return 0;
    }

    static int32_t simple(const char* operation, std::vector<EngineArg> args) {
        FakeEngine* fake = current();
        return fake ? fake->record(operation, std::move(args)) : SAYMGR_EENGINE_LOADING;
    }
};

const binding::EngineExtensions& FakeEngine::extensions() {
    static const binding::EngineExtensions table{&Bridge::SetAudioTap, &Bridge::GetNotifyPosition,
                                                 &Bridge::TextToPhonemes};
    return table;
}

void FakeEngine::addPositionedNotification(int32_t code, int32_t value1, int32_t value2,
                                           int64_t sample) {
    m_speakScript.push_back(SpeakStep{code, value1, value2, sample, {}});
}

void FakeEngine::addAudio(int32_t count, int16_t value) {
    addAction([this, count, value] {
        if (m_tap) {
            const std::vector<int16_t> block(static_cast<std::size_t>(count), value);
            m_tap(m_tapContext, block.data(), count, m_tapPosition, m_sampleRate);
            m_tapPosition += count;
        }
    });
}

const binding::EngineOps& FakeEngine::ops() {
    static const binding::EngineOps table{
        &Bridge::Open,
        &Bridge::Close,
        &Bridge::Speak,
        &Bridge::Stop,
        &Bridge::Pause,
        &Bridge::Resume,
        &Bridge::SpeakToFile,
        &Bridge::SetVoiceParameters,
        &Bridge::SetFrequency,
        &Bridge::LoadDictionary,
        &Bridge::UnloadDictionary,
        &Bridge::GetManufacturerInfo,
        &Bridge::SetAccelerationRule,
        &Bridge::CompileDictionary,
        &Bridge::GetLanguageInfo,
        &Bridge::SelectLanguage,
        &Bridge::SetCallback,
        &Bridge::SetSystemMode,
        &Bridge::GetAboutText,
        &Bridge::GetInstanceInfo,
    };
    return table;
}

FakeEngine::FakeEngine() : m_compiledBytes(std::string("fake compiled dictionary\n")) {}

int FakeEngine::addLanguage(const std::string& name, const std::string& variant, int32_t id) {
    const int32_t position = std::min(m_languages.count, int32_t{SAYMGR_MAX_LANGUAGES - 1});
    LanguageEntry& entry = m_languages.entries[position];
    entry = LanguageEntry{};
    entry.languageId = id;
    copyText(entry.name, name);
    copyText(entry.variant, variant);
    m_languages.count = position + 1;
    return position + 1;
}

void FakeEngine::setLanguageCount(int32_t count) {
    m_languages.count = count;
}

void FakeEngine::setStatus(const std::string& operation, int32_t status) {
    m_statuses[operation] = status;
}

void FakeEngine::queueStatus(const std::string& operation, int32_t status) {
    m_queuedStatuses[operation].push_back(status);
}

void FakeEngine::setInstanceInfo(int32_t frequencyCode, bool has8kHz, bool has10kHz,
                                 bool has11kHz) {
    m_instanceInfo = InstanceInfo{};
    m_instanceInfo.frequency = frequencyCode;
    m_instanceInfo.has8kHz = has8kHz ? 1 : 0;
    m_instanceInfo.has10kHz = has10kHz ? 1 : 0;
    m_instanceInfo.has11kHz = has11kHz ? 1 : 0;
}

void FakeEngine::setLanguageInfo(int32_t position, const LanguageInfo& info) {
    m_languageInfos[position] = info;
}

LanguageInfo FakeEngine::makeLanguageInfo(const std::string& version, const std::string& language,
                                          const std::string& country, int32_t speakerCount,
                                          const std::string& codingScheme) {
    LanguageInfo info{};
    copyText(info.version, version);
    copyText(info.language, language);
    copyText(info.country, country);
    info.speakerCount = speakerCount;
    copyText(info.codingScheme, codingScheme);
    return info;
}

void FakeEngine::setManufacturerInfo(const std::string& manufacturer,
                                     const std::string& noticeText) {
    copyText(m_manufacturerInfo.manufacturer, manufacturer);
    copyText(m_manufacturerInfo.noticeText, noticeText);
}

void FakeEngine::setCompiledDictionaryBytes(std::optional<std::string> bytes) {
    m_compiledBytes = std::move(bytes);
}

void FakeEngine::addNotification(int32_t code, int32_t value1, int32_t value2) {
    m_speakScript.push_back({code, value1, value2, -1, {}});
}

void FakeEngine::addAction(std::function<void()> action) {
    m_speakScript.push_back({0, 0, 0, -1, std::move(action)});
}

std::vector<EngineCall> FakeEngine::callsTo(const std::string& operation) const {
    std::vector<EngineCall> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [&](const EngineCall& call) { return call.operation == operation; });
    return found;
}

std::vector<std::string> FakeEngine::operations() const {
    std::vector<std::string> names;
    names.reserve(m_calls.size());
    for (const EngineCall& call : m_calls) {
        names.push_back(call.operation);
    }
    return names;
}

int32_t FakeEngine::record(const char* operation, std::vector<EngineArg> args) {
    m_calls.push_back({operation, std::move(args)});
    auto queued = m_queuedStatuses.find(operation);
    if (queued != m_queuedStatuses.end() && !queued->second.empty()) {
        const int32_t status = queued->second.front();
        queued->second.pop_front();
        return status;
    }
    const auto standing = m_statuses.find(operation);
    return standing != m_statuses.end() ? standing->second : 0;
}

int32_t FakeEngine::playSpeakScript(int32_t status) {
    if (status != 0 || m_speaking) {
        return status != 0 ? status : SAYMGR_EBUSY;
    }
    m_speaking = true;
    m_stopped = false;
    m_paused = false;
    m_tapPosition = 0;
    // A copy, so an action may change the script for later calls.
    const std::vector<SpeakStep> script = m_speakScript;
    for (const SpeakStep& step : script) {
        const bool isEnd = !step.action && step.code == SAYMGR_NOTIFY_END;
        if (m_stopped && !isEnd) {
            continue;
        }
        if (step.action) {
            step.action();
        } else if (m_callback) {
            m_notifySample = step.sample;
            m_callback(0, step.code, step.value1, step.value2);
            m_notifySample = -1;
        }
        dispatchHost();
    }
    m_speaking = false;
    m_paused = false;
    return 0;
}

void FakeEngine::dispatchHost() {
    if (m_hostThread && m_hostThread->dispatch) {
        m_hostThread->dispatch(m_hostThread->context, 0);
    }
}

}  // namespace testsupport
