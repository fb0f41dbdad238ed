#pragma once

#include <memory>

#include "platform/clipboardservice.h"
#include "platform/filedialogservice.h"
#include "platform/helpviewer.h"
#include "platform/messageservice.h"
#include "platform/soundplayer.h"

namespace platform {

// The replaceable platform services, owned together. The program makes the desktop set; a
// test makes a set of recorders and hands it to the program instead.
struct Services {
    std::unique_ptr<MessageService> messages;
    std::unique_ptr<FileDialogService> fileDialogs;
    std::unique_ptr<ClipboardService> clipboard;
    std::unique_ptr<HelpViewer> help;
    std::unique_ptr<SoundPlayer> sounds;
};

// The real services: Qt dialogs and sounds, QClipboard, a help window, PortAudio playback.
// `startupDirectory` is where sound names from the user profile that are not paths are looked up.
Services makeDesktopServices(const std::string& startupDirectory);

}  // namespace platform
