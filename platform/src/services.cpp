#include "platform/services.h"

#include "desktopclipboard.h"
#include "desktopfiledialogservice.h"
#include "desktophelpviewer.h"
#include "desktopmessageservice.h"
#include "desktopsoundplayer.h"

namespace platform {

Services makeDesktopServices(const std::string& startupDirectory) {
    Services services;
    services.messages = std::make_unique<DesktopMessageService>(startupDirectory);
    services.fileDialogs = std::make_unique<DesktopFileDialogService>();
    services.clipboard = std::make_unique<DesktopClipboard>();
    services.help = std::make_unique<DesktopHelpViewer>();
    services.sounds = std::make_unique<DesktopSoundPlayer>();
    return services;
}

}  // namespace platform
