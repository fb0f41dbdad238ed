#pragma once

#include "platform/clipboardservice.h"

namespace platform {

// The window system's clipboard; its Unicode text is handed out and taken in as Windows-1252.
class DesktopClipboard : public ClipboardService {
  public:
    std::optional<std::string> ansiText() const override;
    void setAnsiText(const std::string& text) override;
};

}  // namespace platform
