#include "testsupport/recordingmessageservice.h"

namespace testsupport {

using platform::MessageButtons;
using platform::MessageResult;

MessageResult RecordingMessageService::show(QWidget* owner, const QString& text,
                                            const QString& caption, platform::MessageIcon icon,
                                            MessageButtons buttons) {
    MessageEvent event;
    event.kind = MessageEvent::Kind::Box;
    event.owner = owner;
    event.text = text;
    event.caption = caption;
    event.icon = icon;
    event.buttons = buttons;
    if (m_answers.empty()) {
        event.result = buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    } else {
        event.result = m_answers.front();
        m_answers.pop_front();
    }
    m_log.push_back(event);
    if (onShow) {
        onShow(event);
    }
    return event.result;
}

void RecordingMessageService::beep(platform::BeepKind kind) {
    MessageEvent event;
    event.kind = MessageEvent::Kind::Beep;
    event.beep = kind;
    m_log.push_back(event);
}

std::vector<MessageEvent> RecordingMessageService::boxes() const {
    std::vector<MessageEvent> result;
    for (const MessageEvent& event : m_log) {
        if (event.isBox()) {
            result.push_back(event);
        }
    }
    return result;
}

std::vector<platform::BeepKind> RecordingMessageService::beeps() const {
    std::vector<platform::BeepKind> result;
    for (const MessageEvent& event : m_log) {
        if (event.isBeep()) {
            result.push_back(event.beep);
        }
    }
    return result;
}

void RecordingMessageService::clear() {
    m_log.clear();
    m_answers.clear();
}

}  // namespace testsupport
