#include "monitormodel.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <limits>

#include "binding/statustext.h"
#include "context/programcontext.h"

namespace benchmonitor {
namespace {

// The text up to the end of the last piece the engine started: all of it after a complete
// request, the part that was heard after a stop.
std::string_view spokenText(const monitor::SpeechLog& log) {
    const std::string_view text = log.bytes(0, std::numeric_limits<int32_t>::max());
    const auto last = std::find_if(
        log.events().rbegin(), log.events().rend(),
        [](const monitor::LoggedEvent& event) { return event.code == SAYMGR_NOTIFY_CHUNK; });
    if (last == log.events().rend()) {
        return text;
    }
    return text.substr(
        0, static_cast<std::size_t>(last->start) + static_cast<std::size_t>(last->length));
}

}  // namespace

MonitorModel::MonitorModel(context::EngineSession& session)
    : m_session(session),
      m_extensions(session.extensions ? *session.extensions : binding::EngineExtensions{}) {}

MonitorModel::~MonitorModel() {
    detach();
}

void MonitorModel::attach() {
    if (m_attached) {
        return;
    }
    m_attached = true;
    m_session.speechObserver = this;
    m_tap = std::make_unique<binding::AudioTap>(
        m_extensions, m_session.engineInstance,
        [this](std::span<const int16_t> samples, int64_t position, int32_t rate) {
            onAudio(samples, position, rate);
        });
    m_tapStatus = m_tap->status();
}

void MonitorModel::detach() {
    if (!m_attached) {
        return;
    }
    m_attached = false;
    if (open()) {
        m_latest->ended = true;
        m_latest->closedEarly = true;
    }
    if (m_session.speechObserver == this) {
        m_session.speechObserver = nullptr;
    }
    m_tap.reset();
}

QString MonitorModel::notes() const {
    QStringList notes;
    if (m_extensions.SaymgrGetNotifyPosition == nullptr) {
        notes << QStringLiteral(
            "Audio positions are not available from this engine: times in the audio come from "
            "the arrival of the notifications, and the mark lag cannot be measured.");
    }
    if (m_tapStatus != 0) {
        notes << QStringLiteral("The waveform is not available from this engine.");
    }
    if (m_extensions.SaymgrTextToPhonemes == nullptr) {
        notes << QStringLiteral("Phonemes are not available from this engine.");
    } else if (m_latest && m_latest->phonemeStatus == SAYMGR_EBUSY) {
        notes << QStringLiteral("Phonemes are not available while the engine speaks.");
    } else if (m_latest && m_latest->phonemeStatus < 0) {
        notes << QStringLiteral("Phonemes are not available: %1")
                     .arg(QString::fromStdString(binding::statusMessage(m_latest->phonemeStatus)));
    }
    if (m_latest && m_latest->phonemesCapped) {
        notes << QStringLiteral("Phonemes are shown for the first %1 bytes of the text only.")
                     .arg(RequestRecord::kPhonemeTextLimit);
    }
    return notes.join(QLatin1Char('\n'));
}

void MonitorModel::requestBegins(std::string_view text, int32_t textForm,
                                 Clock::time_point commandTime) {
    m_latest = std::make_unique<RequestRecord>(
        std::string(text), textForm == 0 ? common::CodePage::Dos437 : common::CodePage::Ansi1252);
    m_commandTime = commandTime;
    changed(Change::Begun);
}

void MonitorModel::notified(int32_t code, int32_t value1, int32_t value2,
                            Clock::time_point arrival) {
    if (!open()) {
        return;
    }
    const std::chrono::duration<double, std::milli> elapsed = arrival - m_commandTime;
    monitor::LoggedEvent event{elapsed.count(), code, value1, value2};
    if (const auto position = binding::notifyPosition(m_extensions, m_session.engineInstance)) {
        event.sample = position->sample;
        event.sampleRate = position->sampleRate;
    }
    m_latest->log.add(event);
    changed(Change::Event);
}

void MonitorModel::requestEnds(int32_t status) {
    if (!open()) {
        return;
    }
    m_latest->ended = true;
    m_latest->endStatus = status;
    transcribe(*m_latest);
    changed(Change::Ended);
}

void MonitorModel::onAudio(std::span<const int16_t> samples, int64_t position, int32_t rate) {
    if (!open()) {
        return;
    }
    m_latest->envelope.add(samples, position, rate);
    m_latest->log.addAudio(samples.size());
    changed(Change::Audio);
}

void MonitorModel::transcribe(RequestRecord& record) const {
    if (m_extensions.SaymgrTextToPhonemes == nullptr) {
        return;
    }
    std::string_view text = spokenText(record.log);
    record.phonemesCapped = text.size() > RequestRecord::kPhonemeTextLimit;
    text = text.substr(0, RequestRecord::kPhonemeTextLimit);
    const int32_t textForm = record.log.codePage() == common::CodePage::Dos437 ? 0 : 1;
    record.phonemeStatus = binding::textToPhonemes(m_extensions, m_session.engineInstance, text,
                                                   textForm, record.phonemes);
}

void MonitorModel::changed(Change change) {
    if (m_onChange) {
        m_onChange(change);
    }
}

}  // namespace benchmonitor
