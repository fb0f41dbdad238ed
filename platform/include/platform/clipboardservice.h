#pragma once

#include <string>

namespace platform {

// The clipboard's text, in the ANSI code page (Windows-1252) the engine reads.
class ClipboardService {
  public:
    virtual ~ClipboardService() = default;
    // Empty when the clipboard holds no text.
    virtual std::string ansiText() const = 0;
    virtual void setAnsiText(const std::string& text) = 0;
};

}  // namespace platform
