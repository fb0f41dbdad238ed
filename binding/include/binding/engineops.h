#pragma once

#include <saymgr.h>

namespace binding {

// The engine's operation table: one typed entry per operation, named as the engine names it.
// The program and voxtrial-cli call the engine only through a table like this one, so a test
// can hand them a table of its own.
struct EngineOps {
    decltype(&::EngineOpen) EngineOpen;
    decltype(&::EngineClose) EngineClose;
    decltype(&::EngineSpeak) EngineSpeak;
    decltype(&::EngineStop) EngineStop;
    decltype(&::EnginePause) EnginePause;
    decltype(&::EngineResume) EngineResume;
    decltype(&::EngineSpeakToFile) EngineSpeakToFile;
    decltype(&::EngineSetVoiceParameters) EngineSetVoiceParameters;
    decltype(&::EngineSetFrequency) EngineSetFrequency;
    decltype(&::EngineLoadDictionary) EngineLoadDictionary;
    decltype(&::EngineUnloadDictionary) EngineUnloadDictionary;
    decltype(&::EngineGetManufacturerInfo) EngineGetManufacturerInfo;
    decltype(&::EngineSetAccelerationRule) EngineSetAccelerationRule;
    decltype(&::EngineCompileDictionary) EngineCompileDictionary;
    decltype(&::EngineGetLanguageInfo) EngineGetLanguageInfo;
    decltype(&::EngineSelectLanguage) EngineSelectLanguage;
    decltype(&::EngineSetCallback) EngineSetCallback;
    decltype(&::EngineSetSystemMode) EngineSetSystemMode;
    decltype(&::EngineGetAboutText) EngineGetAboutText;
    decltype(&::EngineGetInstanceInfo) EngineGetInstanceInfo;
};

// A table whose every operation answers SAYMGR_EENGINE_LOADING (-30).
const EngineOps& unavailableEngineOps();

}  // namespace binding
