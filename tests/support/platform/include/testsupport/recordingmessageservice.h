#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/messageservice.h"

namespace testsupport {

// One entry of the message log: a beep or a box, in the order the program produced them.
struct MessageEvent {
    enum class Kind { Beep, Box };
    Kind kind = Kind::Box;
    platform::BeepKind beep = platform::BeepKind::Default;  // Beep entries
    QWidget* owner = nullptr;                               // Box entries from here on
    QString text;
    QString caption;
    platform::MessageIcon icon = platform::MessageIcon::Information;
    platform::MessageButtons buttons = platform::MessageButtons::Ok;
    platform::MessageResult result = platform::MessageResult::Ok;  // the answer given

    bool operator==(const MessageEvent&) const = default;
    bool isBeep() const { return kind == Kind::Beep; }
    bool isBox() const { return kind == Kind::Box; }
};

// Stands in for message boxes and beeps in tests: records every beep and every box in one
// ordered log and answers boxes from a scripted queue. With the queue empty an Ok box is
// answered Ok and a Yes/No box Yes. A queued answer goes to the next box, whatever its
// buttons. Never shows a window.
class RecordingMessageService : public platform::MessageService {
  public:
    platform::MessageResult show(QWidget* owner, const QString& text, const QString& caption,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;
    void beep(platform::BeepKind kind) override;

    void queueAnswer(platform::MessageResult answer) { m_answers.push_back(answer); }
    std::size_t pendingAnswers() const { return m_answers.size(); }

    const std::vector<MessageEvent>& log() const { return m_log; }
    std::vector<MessageEvent> boxes() const;
    std::vector<platform::BeepKind> beeps() const;
    void clear();

    // Called for each box before it is answered, as if the user acted while it was open.
    std::function<void(const MessageEvent&)> onShow;

  private:
    std::vector<MessageEvent> m_log;
    std::deque<platform::MessageResult> m_answers;
};

}  // namespace testsupport
