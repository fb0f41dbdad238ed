// An engine library whose every operation answers -27, a code without a message, so the
// tests see how voxtrial-cli reports such a code. Built once more without EngineSetCallback,
// it is a library that lacks an operation.
#include <saymgr.h>

namespace {

constexpr int32_t kCodeWithoutMessage = -27;

}  // namespace

extern "C" {

int32_t EngineOpen(int32_t*, SaymgrHostThread*, LanguageList*) {
    return kCodeWithoutMessage;
}
int32_t EngineClose(int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineSpeak(int32_t, int32_t, const char*, int32_t, int32_t, int32_t*) {
    return kCodeWithoutMessage;
}
int32_t EngineStop(int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EnginePause(int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineResume(int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineSpeakToFile(int32_t, const char*, int32_t, const char*, int32_t, int32_t, int32_t,
                          int32_t*) {
    return kCodeWithoutMessage;
}
int32_t EngineSetVoiceParameters(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineSetFrequency(int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineLoadDictionary(int32_t, int32_t*, const char*) {
    return kCodeWithoutMessage;
}
int32_t EngineUnloadDictionary(int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineGetManufacturerInfo(ManufacturerInfo*) {
    return kCodeWithoutMessage;
}
int32_t EngineSetAccelerationRule(int32_t, int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineCompileDictionary(int32_t, const char*, int32_t, const char*) {
    return kCodeWithoutMessage;
}
int32_t EngineGetLanguageInfo(int32_t, int32_t, LanguageInfo*) {
    return kCodeWithoutMessage;
}
int32_t EngineSelectLanguage(int32_t, int32_t, int32_t) {
    return kCodeWithoutMessage;
}
#ifndef VOXTRIAL_LEAVE_OUT_SET_CALLBACK
int32_t EngineSetCallback(int32_t, int32_t, EngineNotifyProc) {
    return kCodeWithoutMessage;
}
#endif
int32_t EngineSetSystemMode(int32_t, int32_t) {
    return kCodeWithoutMessage;
}
int32_t EngineGetAboutText(int32_t, char*) {
    return kCodeWithoutMessage;
}
int32_t EngineGetInstanceInfo(int32_t, InstanceInfo*) {
    return kCodeWithoutMessage;
}
}
