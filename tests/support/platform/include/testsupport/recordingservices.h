#pragma once

#include "platform/services.h"
#include "testsupport/fakeclipboard.h"
#include "testsupport/recordinghelpviewer.h"
#include "testsupport/recordingmessageservice.h"
#include "testsupport/recordingsoundplayer.h"
#include "testsupport/scriptedfiledialogservice.h"

namespace testsupport {

// A set of recording services for a program under test. `services` owns them (move it into
// the program); the raw pointers stay valid as long as that set lives and let the test script
// answers and inspect what was recorded.
struct RecordingServices {
    platform::Services services;
    RecordingMessageService* messages = nullptr;
    ScriptedFileDialogService* fileDialogs = nullptr;
    FakeClipboard* clipboard = nullptr;
    RecordingHelpViewer* help = nullptr;
    RecordingSoundPlayer* sounds = nullptr;
};

RecordingServices makeRecordingServices();

}  // namespace testsupport
