#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class MessageIcon { None, Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No };
// System sounds, by the icon they go with; Default is the plain system beep.
enum class BeepKind { Default, Stop, Exclamation, Question, Information };

// Modal message boxes and the system beeps that go with them. The program shows every message
// to the user through this service; tests replace it with one that records and answers.
class MessageService {
  public:
    virtual ~MessageService() = default;
    // Shows a modal box owned by `owner` (may be null) and returns the button pressed.
    virtual MessageResult show(QWidget* owner, const QString& text, const QString& caption,
                               MessageIcon icon, MessageButtons buttons) = 0;
    virtual void beep(BeepKind kind) = 0;
};

}  // namespace platform
