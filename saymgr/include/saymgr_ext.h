/*
 * libsaymgr — extensions beyond the twenty operations, for hosts that monitor the speech.
 *
 * A host looks these up by name (dlsym) and works without them when an engine library lacks
 * them: the twenty operations of saymgr.h stay the whole of what the program and voxtrial-cli
 * require. The rules of saymgr.h apply: the thread that opened the instance calls them, and
 * every function returns 0 or a negative SAYMGR_E* status.
 *
 * Sample positions count the samples of one text at the frequency it is spoken or written
 * with, from 0 at its first sample. A text queued behind another (system speech mode) starts
 * again at 0, after its own start notification.
 */
#pragma once

#include "saymgr.h"

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Receives each block of 16-bit mono samples as it reaches the sink (sound device, file or
 * null sink), in order and without gaps: `position` is the sample position of the block's
 * first sample, `sampleRate` the frequency in Hz given to the sink. Called on the host thread
 * from inside EngineSpeak / EngineSpeakToFile, before the notifications whose positions the
 * block holds; `samples` is valid only during the call.
 */
typedef void (*SaymgrAudioTapProc)(void* context, const int16_t* samples, int32_t count,
                                   int64_t position, int32_t sampleRate);

/*
 * Registers `tap` (null removes it) with `context` passed back on every call. A tap set while
 * speaking takes effect with the next text; removing it takes effect at once.
 */
SAYMGR_API int32_t SaymgrSetAudioTap(int32_t instance, SaymgrAudioTapProc tap, void* context);

/*
 * Chooses how many worker processes write a long text into a sound file (EngineSpeakToFile of
 * 4 KiB or more): `jobs` from 1 (the instance alone) to 64; 0 or less restores the default,
 * SAYMGR_JOBS when set, else the cores this process may use. The file, its notifications and
 * their positions are the same whatever the number.
 */
SAYMGR_API int32_t SaymgrSetJobs(int32_t instance, int32_t jobs);

/*
 * From inside the EngineNotifyProc: the sample position at which the notification being
 * delivered is heard (its word, piece or bookmark begins; 0 for the start; for the end, the
 * samples heard in all, fewer after a stop) and the frequency in Hz of that speech. Outside a
 * notification it is SAYMGR_ERANGE (-14). Either pointer may be null.
 */
SAYMGR_API int32_t SaymgrGetNotifyPosition(int32_t instance, int64_t* sample, int32_t* sampleRate);

/*
 * Receives one word of a transcription: its byte range in the text as passed (the same words
 * and ranges as the 7003 notifications) and its IPA transcription in UTF-8, valid only during
 * the call.
 */
typedef void (*SaymgrPhonemeProc)(void* context, int32_t start, int32_t length, const char* ipa);

/*
 * Transcribes `text` (`length` bytes, text form as for EngineSpeak) in the current language
 * with its loaded dictionaries, calling `proc` once for each word, in order, before it
 * returns. SAYMGR_ENO_TEXT (-21) for no text, SAYMGR_ERANGE (-14) for another text form or a
 * null proc, SAYMGR_EBUSY (-16) while speaking or writing a file.
 */
SAYMGR_API int32_t SaymgrTextToPhonemes(int32_t instance, const char* text, int32_t length,
                                        int32_t textForm, SaymgrPhonemeProc proc, void* context);

#ifdef __cplusplus
} /* extern "C" */
#endif
