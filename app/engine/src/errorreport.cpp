#include "engine/errorreport.h"

#include <array>

#include "binding/statustext.h"
#include "platform/messageservice.h"

namespace engine {
namespace {

// The codes only the program raises.
struct ProgramMessage {
    int32_t code;
    const char* text;
};

constexpr std::array kProgramMessages{
    ProgramMessage{101, "No data found in Clipboard!"},
    ProgramMessage{102, "No file has been selected!"},
    ProgramMessage{103, "No data found in keyboard input window!"},
    ProgramMessage{104, "No INI file found!"},
};

}  // namespace

QString errorText(int32_t code) {
    for (const ProgramMessage& message : kProgramMessages) {
        if (message.code == code) {
            return QString::fromLatin1(message.text);
        }
    }
    return QString::fromStdString(binding::statusMessage(code));
}

void ReportError(platform::MessageService& messages, QWidget* owner, int32_t code) {
    const QString text = errorText(code);
    messages.beep(platform::BeepKind::Information);
    messages.show(owner, text, QStringLiteral("Error"), platform::MessageIcon::Information,
                  platform::MessageButtons::Ok);
}

}  // namespace engine
