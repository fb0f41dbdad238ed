#include "engine/errorreport.h"

#include "engine/binding/statustext.h"
#include "platform/messageservice.h"

namespace engine {

QString ErrorText(int32_t code) {
    if (const char* text = statusText(code)) {
        return QString::fromLatin1(text);
    }
    return QString::asprintf("Unknown error [ %d ] found!", static_cast<int>(code));
}

void ReportError(platform::MessageService& messages, QWidget* owner, int32_t code) {
    const QString text = ErrorText(code);
    messages.beep(platform::BeepKind::Information);
    messages.show(owner, text, QStringLiteral("Error"), platform::MessageIcon::Information,
                  platform::MessageButtons::Ok);
}

}  // namespace engine
