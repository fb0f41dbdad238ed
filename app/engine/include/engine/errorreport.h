#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace platform {
class MessageService;
}

namespace engine {

// The user-visible text of a status code, or "Unknown error [ %d ] found!".
QString errorText(int32_t code);

// Shows the status code's text in an "Error" box with the information icon, after the
// information beep. `owner` may be null.
void ReportError(platform::MessageService& messages, QWidget* owner, int32_t code);

}  // namespace engine
