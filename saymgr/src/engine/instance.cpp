#include "engine/instance.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "audio/filesink.h"
#include "audio/nullsink.h"
#include "audio/portaudiosink.h"
#include "common/pace.h"
#include "languages.h"
#include "text/segmentscanner.h"

namespace saymgr::engine {

namespace {

constexpr int32_t kDispatchWaitMs = 10;
constexpr int32_t kSpeakerCount = 9;

template <std::size_t N>
void copyText(char (&target)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

bool isVoiceValue(int32_t value) {
    return value == -1 ||
           (value >= synthesis::VoiceSettings::kMin && value <= synthesis::VoiceSettings::kMax);
}

void applyVoiceValue(int32_t& target, int32_t value) {
    if (value != -1) {
        target = value;
    }
}

int frequencyRate(int32_t code) {
    switch (code) {
        case SAYMGR_FREQ_7200:
            return 7200;
        case SAYMGR_FREQ_8000:
            return 8000;
        case SAYMGR_FREQ_10000:
            return 10000;
        case SAYMGR_FREQ_11025:
            return 11025;
        default:
            return 0;
    }
}

// The engine's own sink choice: SAYMGR_SINK=null selects the device-less sink, paced by
// SAYMGR_PACE (times real time, 0 = unpaced); anything else plays through PortAudio.
bool nullSinkChosen() {
    const char* sink = std::getenv("SAYMGR_SINK");
    return sink != nullptr && std::strcmp(sink, "null") == 0;
}

// A pace that is none (voxtrial-cli refuses it with a message) plays in real time.
double nullSinkPace() {
    const char* pace = std::getenv("SAYMGR_PACE");
    return pace == nullptr ? 1.0 : common::parsePace(pace).value_or(1.0);
}

// Sets a flag for the lifetime of a scope.
class RunningScope {
  public:
    explicit RunningScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~RunningScope() { m_flag = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

  private:
    bool& m_flag;
};

}  // namespace

Instance::Instance(const SaymgrHostThread* thread) : m_languageId(languages::all().front().id) {
    if (thread != nullptr) {
        m_thread = *thread;
    }
}

Instance::~Instance() {
    if (m_job) {
        m_job->stop();
        m_job.reset();
    }
}

void Instance::fillLanguages(LanguageList& list) {
    std::memset(&list, 0, sizeof list);
    const auto all = languages::all();
    list.count = static_cast<int32_t>(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        LanguageEntry& entry = list.entries[i];
        entry.languageId = all[i].id;
        copyText(entry.name, all[i].name);
        copyText(entry.variant, all[i].variant);
    }
}

int32_t Instance::checkText(const char* text, int32_t length, int32_t textForm) const {
    if (text == nullptr || length <= 0) {
        return SAYMGR_ENO_TEXT;
    }
    if (textForm != SAYMGR_TEXT_DOS && textForm != SAYMGR_TEXT_ANSI) {
        return SAYMGR_ERANGE;
    }
    return 0;
}

pipeline::SpeechRequest Instance::request(const char* text, int32_t length,
                                          int32_t textForm) const {
    pipeline::SpeechRequest request;
    request.source.assign(text, static_cast<std::size_t>(length));
    request.ansi = textForm == SAYMGR_TEXT_ANSI;
    request.table = request.ansi ? &m_ansiTable : &m_dosTable;
    request.languageVoice = languages::find(m_languageId)->voice;
    request.voice = m_voice;
    request.rules = m_rules;
    request.outputRate = frequencyRate(m_frequencyCode);
    request.tapAudio = m_tap != nullptr;
    for (const auto& [handle, dictionary] : m_dictionaries) {
        if (dictionary->languageId() == m_languageId) {
            request.dictionaries.push_back(dictionary);
        }
    }
    return request;
}

int32_t Instance::speak(const char* text, int32_t length, int32_t textForm) {
    if (const int32_t status = checkText(text, length, textForm); status != 0) {
        return status;
    }
    if (m_running) {
        return acceptWhileBusy(request(text, length, textForm));
    }
    const RunningScope running(m_running);
    m_stopRequested = false;
    m_queue.push_back(request(text, length, textForm));
    int32_t status = 0;
    while (status == 0 && !m_stopRequested && !m_queue.empty()) {
        pipeline::SpeechRequest next = std::move(m_queue.front());
        m_queue.pop_front();
        std::unique_ptr<audio::Sink> sink;
        status = playbackSink(sink);
        if (status == 0) {
            status = run(std::move(next), std::move(sink));
        }
    }
    m_queue.clear();
    return status;
}

int32_t Instance::acceptWhileBusy(pipeline::SpeechRequest request) {
    const bool queue = (m_systemMode & kQueue) != 0;
    const bool interrupt = (m_systemMode & kInterrupt) != 0;
    if (m_writingFile || (!queue && !interrupt)) {
        return SAYMGR_EBUSY;
    }
    if (interrupt && (m_systemMode & kInterruptible) != 0) {
        m_queue.clear();
        if (m_job) {
            m_job->stop();
        }
    }
    m_queue.push_back(std::move(request));
    return 0;
}

int32_t Instance::playbackSink(std::unique_ptr<audio::Sink>& sink) {
    if (nullSinkChosen()) {
        sink = std::make_unique<audio::NullSink>(nullSinkPace());
        return 0;
    }
    if (!m_portAudio) {
        m_portAudio = std::make_unique<common::PortAudioSystem>();
    }
    if (!m_portAudio->isReady()) {
        m_portAudio.reset();
        return SAYMGR_ENO_DEVICE;
    }
    sink = std::make_unique<audio::PortAudioSink>();
    return 0;
}

int32_t Instance::speakToFile(const char* text, int32_t length, const char* path, int32_t format,
                              int32_t textForm, int32_t* bytesWritten) {
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    if (m_running) {
        return SAYMGR_EBUSY;
    }
    if (!audio::FileSink::isFormat(format)) {
        return SAYMGR_EOUTPUT_FORMAT;
    }
    if (const int32_t status = checkText(text, length, textForm); status != 0) {
        return status;
    }
    if (path == nullptr || *path == '\0') {
        return SAYMGR_EFILE_OPEN;
    }
    const RunningScope running(m_running);
    const RunningScope writing(m_writingFile);
    m_stopRequested = false;
    int64_t fileBytes = 0;
    pipeline::SpeechRequest file = request(text, length, textForm);
    // Worker processes gain only when their start-up is small beside the synthesis.
    file.jobs = length >= kParallelTextBytes ? m_jobs : 1;
    const int32_t status =
        run(std::move(file), std::make_unique<audio::FileSink>(path, format), &fileBytes);
    if (bytesWritten != nullptr && status == 0) {
        *bytesWritten = static_cast<int32_t>(std::min<int64_t>(fileBytes, INT32_MAX));
    }
    return status;
}

int32_t Instance::run(pipeline::SpeechRequest request, std::unique_ptr<audio::Sink> sink,
                      int64_t* fileBytes) {
    m_deliveringRate = request.outputRate;
    m_job = std::make_unique<pipeline::SpeechJob>(m_espeak, std::move(request), std::move(sink),
                                                  [this] { wake(); });
    m_startSent = false;
    int32_t status = m_job->start();
    if (status != 0) {
        m_job.reset();
        return status;
    }
    std::vector<pipeline::Notification> due;
    while (!m_job->isFinished()) {
        deliver(due);
        dispatch();
    }
    status = m_job->finish();
    deliver(due);
    if (!m_startSent) {
        notify({SAYMGR_NOTIFY_START, 0, 0, 0});
    }
    if (fileBytes != nullptr) {
        *fileBytes = static_cast<audio::FileSink&>(m_job->sink()).bytesWritten();
    }
    const pipeline::Notification end{SAYMGR_NOTIFY_END, 0, 0, m_job->sink().heard()};
    m_job.reset();
    notify(end);
    return status;
}

void Instance::deliver(std::vector<pipeline::Notification>& notifications) {
    deliverAudio();
    notifications.clear();
    m_job->takeDue(notifications);
    for (const pipeline::Notification& notification : notifications) {
        m_startSent = m_startSent || notification.code == SAYMGR_NOTIFY_START;
        notify(notification);
    }
}

void Instance::deliverAudio() {
    pipeline::AudioBlock block;
    while (m_job->takeAudio(block)) {
        if (m_tap != nullptr) {
            m_tap(m_tapContext, block.samples.data(), static_cast<int32_t>(block.samples.size()),
                  block.position, m_deliveringRate);
        }
    }
}

void Instance::notify(const pipeline::Notification& notification) {
    if (m_callback == nullptr) {
        return;
    }
    const pipeline::Notification* outer = std::exchange(m_delivering, &notification);
    m_callback(0, notification.code, notification.value1, notification.value2);
    m_delivering = outer;
}

void Instance::setJobs(int32_t jobs) {
    m_jobs = jobs >= 1 ? std::min(jobs, kMaxJobs) : parallel::defaultJobs();
}

void Instance::setAudioTap(SaymgrAudioTapProc tap, void* context) {
    m_tap = tap;
    m_tapContext = context;
}

int32_t Instance::notifyPosition(int64_t* sample, int32_t* sampleRate) const {
    if (m_delivering == nullptr) {
        return SAYMGR_ERANGE;
    }
    if (sample != nullptr) {
        *sample = m_delivering->sample;
    }
    if (sampleRate != nullptr) {
        *sampleRate = m_deliveringRate;
    }
    return 0;
}

// Waits no longer than until the next notification is due, so that marks reach the host as
// their audio is heard.
void Instance::dispatch() {
    if (m_thread.dispatch != nullptr) {
        const int32_t waitMs =
            m_job ? m_job->millisecondsToNextDue(kDispatchWaitMs) : kDispatchWaitMs;
        m_thread.dispatch(m_thread.context, waitMs);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void Instance::wake() {
    if (m_thread.wake != nullptr) {
        m_thread.wake(m_thread.context);
    }
}

int32_t Instance::textToPhonemes(const char* text, int32_t length, int32_t textForm,
                                 SaymgrPhonemeProc proc, void* context) {
    if (const int32_t status = checkText(text, length, textForm); status != 0) {
        return status;
    }
    if (proc == nullptr) {
        return SAYMGR_ERANGE;
    }
    if (m_running) {
        return SAYMGR_EBUSY;
    }
    const pipeline::SpeechRequest words = request(text, length, textForm);
    if (!m_espeak.configure(words.languageVoice, words.voice)) {
        return SAYMGR_EENGINE_LOADING;
    }
    text::SegmentScanner scanner(words.source);
    const text::TextBuilder builder(words.source, *words.table, words.dictionaries);
    int32_t start = 0;
    int32_t end = 0;
    while (scanner.next(start, end)) {
        const text::SynthesisText piece = builder.build(start, end);
        for (const text::Word& word : piece.words) {
            const std::string ipa = m_espeak.phonemes(piece.spokenText(word));
            proc(context, word.start, word.length, ipa.c_str());
        }
    }
    return 0;
}

int32_t Instance::stop() {
    if (m_running) {
        m_stopRequested = true;
        m_queue.clear();
    }
    if (m_job) {
        m_job->stop();
    }
    return 0;
}

int32_t Instance::pause() {
    if (m_job) {
        m_job->pause();
    }
    return 0;
}

int32_t Instance::resume() {
    if (m_job) {
        m_job->resume();
    }
    return 0;
}

int32_t Instance::setVoiceParameters(int32_t volume, int32_t speaker, int32_t rate, int32_t pitch) {
    if (!isVoiceValue(volume) || !isVoiceValue(speaker) || !isVoiceValue(rate) ||
        !isVoiceValue(pitch)) {
        return SAYMGR_ERANGE;
    }
    applyVoiceValue(m_voice.volume, volume);
    applyVoiceValue(m_voice.speaker, speaker);
    applyVoiceValue(m_voice.rate, rate);
    applyVoiceValue(m_voice.pitch, pitch);
    return 0;
}

int32_t Instance::setFrequency(int32_t frequencyCode) {
    if (frequencyRate(frequencyCode) == 0) {
        return SAYMGR_EFREQUENCY;
    }
    m_frequencyCode = frequencyCode;
    return 0;
}

int32_t Instance::selectLanguage(int32_t languageId) {
    if (languages::find(languageId) == nullptr) {
        return SAYMGR_ERANGE;
    }
    m_languageId = languageId;
    return 0;
}

int32_t Instance::setAccelerationRule(int32_t firstLength, int32_t secondLength) {
    m_rules = {firstLength, secondLength};
    return 0;
}

int32_t Instance::setSystemMode(int32_t modeBits) {
    m_systemMode = modeBits;
    return 0;
}

int32_t Instance::compileDictionary(const char* textPath, int32_t flag,
                                    const char* binaryPath) const {
    if (textPath == nullptr || *textPath == '\0') {
        return SAYMGR_EFILE_NOT_FOUND;
    }
    if (binaryPath == nullptr || *binaryPath == '\0') {
        return SAYMGR_EFILE_OPEN;
    }
    return UserDictionary::compile(textPath, flag == 1 ? 1 : 0, m_languageId, binaryPath);
}

int32_t Instance::loadDictionary(int32_t* handle, const char* path) {
    if (handle == nullptr) {
        return SAYMGR_ERANGE;
    }
    *handle = 0;
    if (path == nullptr || *path == '\0') {
        return SAYMGR_EFILE_NOT_FOUND;
    }
    std::unique_ptr<UserDictionary> dictionary;
    if (const int32_t status = UserDictionary::load(path, dictionary); status != 0) {
        return status;
    }
    *handle = m_nextDictionaryHandle++;
    m_dictionaries.emplace_back(*handle, std::move(dictionary));
    return 0;
}

int32_t Instance::unloadDictionary(int32_t handle) {
    const auto found = std::ranges::find(
        m_dictionaries, handle, &std::pair<int32_t, std::shared_ptr<const UserDictionary>>::first);
    if (found == m_dictionaries.end()) {
        return SAYMGR_EDICT_HANDLE;
    }
    m_dictionaries.erase(found);
    return 0;
}

int32_t Instance::languageInfo(int32_t position, LanguageInfo& info) const {
    std::memset(&info, 0, sizeof info);
    const auto all = languages::all();
    if (position < 1 || position > static_cast<int32_t>(all.size())) {
        return SAYMGR_ERANGE;
    }
    const languages::Language& language = all[static_cast<std::size_t>(position - 1)];
    copyText(info.version, synthesis::Espeak::version());
    copyText(info.language, language.languageName);
    copyText(info.country, language.country);
    info.speakerCount = kSpeakerCount;
    copyText(info.codingScheme, "Windows-1252");
    return 0;
}

void Instance::instanceInfo(InstanceInfo& info) const {
    std::memset(&info, 0, sizeof info);
    info.frequency = m_frequencyCode;
    info.has8kHz = 1;
    info.has10kHz = 1;
    info.has11kHz = 1;
}

}  // namespace saymgr::engine
