#include "testsupport/recordingservices.h"

#include <memory>

namespace testsupport {

RecordingServices makeRecordingServices() {
    RecordingServices result;
    auto messages = std::make_unique<RecordingMessageService>();
    auto fileDialogs = std::make_unique<ScriptedFileDialogService>();
    auto clipboard = std::make_unique<FakeClipboard>();
    auto help = std::make_unique<RecordingHelpViewer>();
    auto sounds = std::make_unique<RecordingSoundPlayer>();
    result.messages = messages.get();
    result.fileDialogs = fileDialogs.get();
    result.clipboard = clipboard.get();
    result.help = help.get();
    result.sounds = sounds.get();
    result.services.messages = std::move(messages);
    result.services.fileDialogs = std::move(fileDialogs);
    result.services.clipboard = std::move(clipboard);
    result.services.help = std::move(help);
    result.services.sounds = std::move(sounds);
    return result;
}

}  // namespace testsupport
