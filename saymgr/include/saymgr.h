/*
 * libsaymgr — the Quenvar Voxtrial speech engine, C interface.
 *
 * Twenty operations with C linkage, four fixed-layout records, the host-thread
 * handle through which blocking operations keep the caller's thread responsive,
 * and the notification callback. Every operation returns an int32_t status:
 * 0 for success or one of the negative SAYMGR_E* codes below.
 *
 * Threads: the thread that calls EngineOpen owns the instance, and every operation on it,
 * EngineClose included, is called on that thread (the host's dispatch() runs on it, so calls
 * made from there qualify). A call from any other thread is refused with SAYMGR_EINSTANCE
 * (-26) and changes nothing; a host that wants to stop from elsewhere posts the call to its
 * own thread. EngineOpen may be called on any thread, which then owns the new instance;
 * EngineGetManufacturerInfo takes no instance and may be called on any thread at any time.
 * Notifications and dispatch() come on the owning thread; wake() may come from any thread.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define SAYMGR_API __attribute__((visibility("default")))
#else
#define SAYMGR_API
#endif

/* ---- Status codes --------------------------------------------------------------------- */

enum {
    SAYMGR_OK = 0,
    SAYMGR_EFILE_NOT_FOUND = -1,
    SAYMGR_EFILE_OPEN = -2,
    SAYMGR_EFILE_WRITE = -3,
    SAYMGR_EMEMORY_ALLOC = -4,
    SAYMGR_EMEMORY_LOCK = -5,
    SAYMGR_EMEMORY_UNLOCK = -6,
    SAYMGR_EMEMORY_FREE = -7,
    SAYMGR_EDEVICE_OPEN = -8,
    SAYMGR_EDEVICE_CLOSE = -9,
    SAYMGR_EWAVEFORMAT = -10,
    SAYMGR_ENO_DEVICE = -11,
    SAYMGR_ENOT_INITIALIZED = -12,
    SAYMGR_EFREQUENCY = -13,
    SAYMGR_ERANGE = -14,
    SAYMGR_EOUTPUT_FORMAT = -15,
    SAYMGR_EBUSY = -16,
    SAYMGR_EDICT_LOAD = -18,
    SAYMGR_EDICT_HANDLE = -19,
    SAYMGR_EDEVICE_WRITE = -20,
    SAYMGR_ENO_TEXT = -21,
    SAYMGR_ECONTROL_COMMAND = -22,
    SAYMGR_EPHONETIC = -23,
    SAYMGR_EDICT_FORMAT = -24,
    SAYMGR_EINSTANCE_CREATE = -25,
    SAYMGR_EINSTANCE = -26,
    SAYMGR_EENGINE_ID = -28,
    SAYMGR_EINSTANCE_BUSY = -29,
    SAYMGR_EENGINE_LOADING = -30,
    SAYMGR_ENO_ENGINE = -31
};

/* ---- Notification codes (EngineNotifyProc's second argument) --------------------------- */

enum {
    SAYMGR_NOTIFY_START = 7000, /* speaking or file generation begins */
    SAYMGR_NOTIFY_END = 7001,   /* it has ended (completed or stopped) */
    SAYMGR_NOTIFY_CHUNK = 7002, /* value1: byte length of the next piece of the text */
    SAYMGR_NOTIFY_MARK1 = 7003, /* value1: length, value2: start of the word being heard */
    SAYMGR_NOTIFY_MARK2 = 7004  /* value1: length, value2: start of a bookmark */
};

/* ---- Argument values ------------------------------------------------------------------- */

enum { SAYMGR_FREQ_7200 = 7, SAYMGR_FREQ_8000 = 8, SAYMGR_FREQ_10000 = 10, SAYMGR_FREQ_11025 = 11 };

enum { SAYMGR_TEXT_DOS = 0, SAYMGR_TEXT_ANSI = 1 };

/* The mode and last-value arguments of EngineSetVoiceParameters as hosts pass them: before a
 * speech, and after the user changed one value. The engine accepts any values. */
enum {
    SAYMGR_VOICE_MODE_SPEAK = 7,
    SAYMGR_VOICE_LAST_SPEAK = 2,
    SAYMGR_VOICE_MODE_CHANGE = 5,
    SAYMGR_VOICE_LAST_CHANGE = -1
};

enum {
    SAYMGR_FORMAT_LINEAR16 = 0,
    SAYMGR_FORMAT_MULAW = 1,
    SAYMGR_FORMAT_ALAW = 2,
    SAYMGR_FORMAT_WAVE8 = 3,
    SAYMGR_FORMAT_WAVE16 = 4
};

enum { SAYMGR_ABOUT_TEXT_SIZE = 1000, SAYMGR_MAX_LANGUAGES = 25 };

/* ---- Records (sizes and offsets are part of the interface) ------------------------------ */

typedef struct LanguageEntry {
    int32_t languageId; /* 0 = not available */
    uint8_t reserved0[0x2c - 4];
    char name[40];
    char variant[12];
} LanguageEntry;

typedef struct LanguageList {
    uint8_t reserved0[0x50];
    int32_t count;
    uint8_t reserved1[0x5c - 0x54];
    LanguageEntry entries[SAYMGR_MAX_LANGUAGES];
} LanguageList;

typedef struct InstanceInfo {
    int32_t frequency; /* current frequency code */
    uint8_t reserved0[0x34 - 4];
    int32_t has8kHz;
    int32_t has10kHz;
    int32_t has11kHz;
    uint8_t reserved1[2492 - 0x40];
} InstanceInfo;

typedef struct LanguageInfo {
    uint8_t reserved0[0x28];
    char version[16];
    char language[80];
    char country[40];
    int32_t speakerCount;
    uint8_t reserved1[0xcc - 0xb4];
    char codingScheme[20];
} LanguageInfo;

typedef struct ManufacturerInfo {
    char manufacturer[120];
    char noticeText[52];
} ManufacturerInfo;

/* ---- Host thread ----------------------------------------------------------------------- */

/*
 * The calling thread's handle given to EngineOpen. Blocking operations (EngineSpeak,
 * EngineSpeakToFile) call dispatch() in a loop until they are done, so the host keeps
 * handling its own work (and may call EnginePause, EngineResume or EngineStop from there);
 * notifications are delivered from inside that loop. wake() may be called from any thread
 * and makes a waiting dispatch() return early.
 */
typedef struct SaymgrHostThread {
    void* context;
    void (*dispatch)(void* context, int32_t waitMs);
    void (*wake)(void* context);
} SaymgrHostThread;

/* Notification callback: (unused, code, value1, value2); returns 0. */
typedef int32_t (*EngineNotifyProc)(int32_t reserved, int32_t code, int32_t value1, int32_t value2);

/* ---- Operations (the number is the operation's ordinal) -------------------------------- */

/* 1 */ SAYMGR_API int32_t EngineOpen(int32_t* instance, SaymgrHostThread* thread,
                                      LanguageList* languages);
/* 2 */ SAYMGR_API int32_t EngineClose(int32_t instance);
/* 3 */ SAYMGR_API int32_t EngineSpeak(int32_t instance, int32_t one, const char* text,
                                       int32_t length, int32_t textForm, int32_t* reserved);
/* 4 */ SAYMGR_API int32_t EngineStop(int32_t instance, int32_t one);
/* 5 */ SAYMGR_API int32_t EnginePause(int32_t instance, int32_t one);
/* 6 */ SAYMGR_API int32_t EngineResume(int32_t instance, int32_t one);
/* 9 */ SAYMGR_API int32_t EngineSpeakToFile(int32_t instance, const char* text, int32_t length,
                                             const char* path, int32_t format, int32_t textForm,
                                             int32_t zero, int32_t* bytesWritten);
/* 11 */ SAYMGR_API int32_t EngineSetVoiceParameters(int32_t instance, int32_t one, int32_t volume,
                                                     int32_t speaker, int32_t rate, int32_t pitch,
                                                     int32_t mode, int32_t lastValue);
/* 13 */ SAYMGR_API int32_t EngineSetFrequency(int32_t instance, int32_t frequencyCode);
/* 14 */ SAYMGR_API int32_t EngineLoadDictionary(int32_t instance, int32_t* handle,
                                                 const char* path);
/* 15 */ SAYMGR_API int32_t EngineUnloadDictionary(int32_t instance, int32_t handle);
/* 19 */ SAYMGR_API int32_t EngineGetManufacturerInfo(ManufacturerInfo* info);
/* 21 */ SAYMGR_API int32_t EngineSetAccelerationRule(int32_t instance, int32_t firstRuleLength,
                                                      int32_t secondRuleLength);
/* 22 */ SAYMGR_API int32_t EngineCompileDictionary(int32_t instance, const char* textPath,
                                                    int32_t flag, const char* binaryPath);
/* 25 */ SAYMGR_API int32_t EngineGetLanguageInfo(int32_t instance, int32_t position,
                                                  LanguageInfo* info);
/* 26 */ SAYMGR_API int32_t EngineSelectLanguage(int32_t instance, int32_t languageId, int32_t one);
/* 28 */ SAYMGR_API int32_t EngineSetCallback(int32_t instance, int32_t one,
                                              EngineNotifyProc callback);
/* 29 */ SAYMGR_API int32_t EngineSetSystemMode(int32_t instance, int32_t modeBits);
/* 32 */ SAYMGR_API int32_t EngineGetAboutText(int32_t instance, char* buffer);
/* 33 */ SAYMGR_API int32_t EngineGetInstanceInfo(int32_t instance, InstanceInfo* info);

/*
 * The twenty operations above, by name, for hosts that bind them into a table of their own:
 * SAYMGR_OPERATIONS(X) expands X(name) once for each.
 */
#define SAYMGR_OPERATIONS(X)     \
    X(EngineOpen)                \
    X(EngineClose)               \
    X(EngineSpeak)               \
    X(EngineStop)                \
    X(EnginePause)               \
    X(EngineResume)              \
    X(EngineSpeakToFile)         \
    X(EngineSetVoiceParameters)  \
    X(EngineSetFrequency)        \
    X(EngineLoadDictionary)      \
    X(EngineUnloadDictionary)    \
    X(EngineGetManufacturerInfo) \
    X(EngineSetAccelerationRule) \
    X(EngineCompileDictionary)   \
    X(EngineGetLanguageInfo)     \
    X(EngineSelectLanguage)      \
    X(EngineSetCallback)         \
    X(EngineSetSystemMode)       \
    X(EngineGetAboutText)        \
    X(EngineGetInstanceInfo)

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(LanguageEntry) == 96);
static_assert(offsetof(LanguageEntry, languageId) == 0);
static_assert(offsetof(LanguageEntry, name) == 0x2c);
static_assert(offsetof(LanguageEntry, variant) == 0x54);
static_assert(sizeof(LanguageList) == 2492);
static_assert(offsetof(LanguageList, count) == 0x50);
static_assert(offsetof(LanguageList, entries) == 0x5c);
static_assert(sizeof(InstanceInfo) == 2492);
static_assert(offsetof(InstanceInfo, frequency) == 0);
static_assert(offsetof(InstanceInfo, has8kHz) == 0x34);
static_assert(offsetof(InstanceInfo, has10kHz) == 0x38);
static_assert(offsetof(InstanceInfo, has11kHz) == 0x3c);
static_assert(sizeof(LanguageInfo) == 224);
static_assert(offsetof(LanguageInfo, version) == 0x28);
static_assert(offsetof(LanguageInfo, language) == 0x38);
static_assert(offsetof(LanguageInfo, country) == 0x88);
static_assert(offsetof(LanguageInfo, speakerCount) == 0xb0);
static_assert(offsetof(LanguageInfo, codingScheme) == 0xcc);
static_assert(sizeof(ManufacturerInfo) == 172);
static_assert(offsetof(ManufacturerInfo, manufacturer) == 0);
static_assert(offsetof(ManufacturerInfo, noticeText) == 0x78);
#endif
