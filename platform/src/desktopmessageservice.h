#pragma once

#include <filesystem>
#include <string>

#include "desktopsoundplayer.h"
#include "platform/messageservice.h"

namespace platform {

// Message boxes as Qt message boxes; beeps as the sounds the user's profile names in its
// "sounds" section (a path, or a file name in the start-up directory), or the window system's
// beep when there is no such sound or it cannot be played.
class DesktopMessageService : public MessageService {
  public:
    explicit DesktopMessageService(std::filesystem::path startupDirectory);

    MessageResult show(QWidget* owner, const QString& text, const QString& caption,
                       MessageIcon icon, MessageButtons buttons) override;
    void beep(BeepKind kind) override;

  private:
    std::filesystem::path soundFile(BeepKind kind) const;

    std::filesystem::path m_startupDirectory;
    DesktopSoundPlayer m_sounds;
};

// The entry of the user profile's "sounds" section that names the sound of a beep.
const char* soundEntryName(BeepKind kind);

}  // namespace platform
