// The engine's exported operations and extensions: each checks its instance and hands over to
// Instance. No exception passes out of them: a failure inside becomes its status.
#include <cstring>

#include "engine/failurestatus.h"
#include "engine/registry.h"
#include "saymgr.h"
#include "saymgr_ext.h"

using saymgr::engine::Instance;
using saymgr::engine::Registry;

namespace {

template <typename Operation>
int32_t guarded(Operation operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return saymgr::engine::statusOfCurrentException();
    }
}

template <typename Operation>
int32_t withInstance(int32_t handle, Operation operation) noexcept {
    return guarded([&] {
        int32_t status = 0;
        Instance* instance = Registry::find(handle, status);
        return instance == nullptr ? status : operation(*instance);
    });
}

}  // namespace

extern "C" {

int32_t EngineOpen(int32_t* instance, SaymgrHostThread* thread, LanguageList* languages) {
    if (instance == nullptr) {
        return SAYMGR_ERANGE;
    }
    return guarded([&] {
        const int32_t status = Registry::open(*instance, thread);
        if (status == 0 && languages != nullptr) {
            Instance::fillLanguages(*languages);
        }
        return status;
    });
}

int32_t EngineClose(int32_t instance) {
    return guarded([&] { return Registry::close(instance); });
}

int32_t EngineSpeak(int32_t instance, int32_t, const char* text, int32_t length, int32_t textForm,
                    int32_t*) {
    return withInstance(instance,
                        [&](Instance& open) { return open.speak(text, length, textForm); });
}

int32_t EngineStop(int32_t instance, int32_t) {
    return withInstance(instance, [](Instance& open) { return open.stop(); });
}

int32_t EnginePause(int32_t instance, int32_t) {
    return withInstance(instance, [](Instance& open) { return open.pause(); });
}

int32_t EngineResume(int32_t instance, int32_t) {
    return withInstance(instance, [](Instance& open) { return open.resume(); });
}

int32_t EngineSpeakToFile(int32_t instance, const char* text, int32_t length, const char* path,
                          int32_t format, int32_t textForm, int32_t, int32_t* bytesWritten) {
    return withInstance(instance, [&](Instance& open) {
        return open.speakToFile(text, length, path, format, textForm, bytesWritten);
    });
}

int32_t EngineSetVoiceParameters(int32_t instance, int32_t, int32_t volume, int32_t speaker,
                                 int32_t rate, int32_t pitch, int32_t, int32_t) {
    return withInstance(instance, [&](Instance& open) {
        return open.setVoiceParameters(volume, speaker, rate, pitch);
    });
}

int32_t EngineSetFrequency(int32_t instance, int32_t frequencyCode) {
    return withInstance(instance, [&](Instance& open) { return open.setFrequency(frequencyCode); });
}

int32_t EngineLoadDictionary(int32_t instance, int32_t* handle, const char* path) {
    return withInstance(instance,
                        [&](Instance& open) { return open.loadDictionary(handle, path); });
}

int32_t EngineUnloadDictionary(int32_t instance, int32_t handle) {
    return withInstance(instance, [&](Instance& open) { return open.unloadDictionary(handle); });
}

int32_t EngineGetManufacturerInfo(ManufacturerInfo* info) {
    if (info == nullptr) {
        return SAYMGR_ERANGE;
    }
    std::memset(info, 0, sizeof *info);
    std::strncpy(info->manufacturer, "Quenvar Voxtrial speech engine (libsaymgr)",
                 sizeof info->manufacturer - 1);
    std::strncpy(info->noticeText, "Uses eSpeak NG, GPL-3.0-or-later", sizeof info->noticeText - 1);
    return 0;
}

int32_t EngineSetAccelerationRule(int32_t instance, int32_t firstRuleLength,
                                  int32_t secondRuleLength) {
    return withInstance(instance, [&](Instance& open) {
        return open.setAccelerationRule(firstRuleLength, secondRuleLength);
    });
}

int32_t EngineCompileDictionary(int32_t instance, const char* textPath, int32_t flag,
                                const char* binaryPath) {
    return withInstance(instance, [&](Instance& open) {
        return open.compileDictionary(textPath, flag, binaryPath);
    });
}

int32_t EngineGetLanguageInfo(int32_t instance, int32_t position, LanguageInfo* info) {
    if (info == nullptr) {
        return SAYMGR_ERANGE;
    }
    return withInstance(instance,
                        [&](Instance& open) { return open.languageInfo(position, *info); });
}

int32_t EngineSelectLanguage(int32_t instance, int32_t languageId, int32_t) {
    return withInstance(instance, [&](Instance& open) { return open.selectLanguage(languageId); });
}

int32_t EngineSetCallback(int32_t instance, int32_t, EngineNotifyProc callback) {
    return withInstance(instance, [&](Instance& open) {
        open.setCallback(callback);
        return 0;
    });
}

int32_t EngineSetSystemMode(int32_t instance, int32_t modeBits) {
    return withInstance(instance, [&](Instance& open) { return open.setSystemMode(modeBits); });
}

int32_t EngineGetAboutText(int32_t instance, char* buffer) {
    if (buffer == nullptr) {
        return SAYMGR_ERANGE;
    }
    return withInstance(instance, [&](Instance&) {
        std::strncpy(buffer, Registry::aboutText(), SAYMGR_ABOUT_TEXT_SIZE - 1);
        buffer[SAYMGR_ABOUT_TEXT_SIZE - 1] = '\0';
        return 0;
    });
}

int32_t EngineGetInstanceInfo(int32_t instance, InstanceInfo* info) {
    if (info == nullptr) {
        return SAYMGR_ERANGE;
    }
    return withInstance(instance, [&](Instance& open) {
        open.instanceInfo(*info);
        return 0;
    });
}

int32_t SaymgrSetAudioTap(int32_t instance, SaymgrAudioTapProc tap, void* context) {
    return withInstance(instance, [&](Instance& open) {
        open.setAudioTap(tap, context);
        return 0;
    });
}

int32_t SaymgrSetJobs(int32_t instance, int32_t jobs) {
    return withInstance(instance, [&](Instance& open) {
        open.setJobs(jobs);
        return 0;
    });
}

int32_t SaymgrGetNotifyPosition(int32_t instance, int64_t* sample, int32_t* sampleRate) {
    return withInstance(instance,
                        [&](Instance& open) { return open.notifyPosition(sample, sampleRate); });
}

int32_t SaymgrTextToPhonemes(int32_t instance, const char* text, int32_t length, int32_t textForm,
                             SaymgrPhonemeProc proc, void* context) {
    return withInstance(instance, [&](Instance& open) {
        return open.textToPhonemes(text, length, textForm, proc, context);
    });
}

}  // extern "C"
