#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "binding/audiotap.h"
#include "context/speechobserver.h"
#include "requestrecord.h"

namespace context {
struct EngineSession;
}

namespace benchmonitor {

// What changed in the model: a request began or ended, a notification or audio came in.
enum class ModelChange : int { Begun, Event, Audio, Ended };

// What the bench monitor knows of the program's latest speak or generate request. While
// attached it is the program's speech observer and holds an audio tap on the engine; detached
// it costs the program nothing. Notifications are timed from the command and placed in the
// audio by the engine's positions; the phonemes are asked for when the request has ended.
class MonitorModel : public context::SpeechObserver {
  public:
    using Change = ModelChange;

    explicit MonitorModel(context::EngineSession& session);
    ~MonitorModel() override;
    MonitorModel(const MonitorModel&) = delete;
    MonitorModel& operator=(const MonitorModel&) = delete;

    void attach();
    void detach();
    bool attached() const { return m_attached; }
    // Called after each change of the latest record.
    void setOnChange(std::function<void(Change)> onChange) { m_onChange = std::move(onChange); }

    // The latest request, or null before the first one.
    const RequestRecord* latest() const { return m_latest.get(); }
    // What the engine cannot tell, one sentence a line; empty when it tells all.
    QString notes() const;

    void requestBegins(std::string_view text, int32_t textForm,
                       Clock::time_point commandTime) override;
    void notified(int32_t code, int32_t value1, int32_t value2, Clock::time_point arrival) override;
    void requestEnds(int32_t status) override;

  private:
    void onAudio(std::span<const int16_t> samples, int64_t position, int32_t rate);
    void transcribe(RequestRecord& record) const;
    bool open() const { return m_latest && !m_latest->ended; }
    void changed(Change change);

    context::EngineSession& m_session;
    binding::EngineExtensions m_extensions;
    std::unique_ptr<binding::AudioTap> m_tap;
    int32_t m_tapStatus = 0;
    bool m_attached = false;
    std::unique_ptr<RequestRecord> m_latest;
    Clock::time_point m_commandTime;
    std::function<void(Change)> m_onChange;
};

}  // namespace benchmonitor
