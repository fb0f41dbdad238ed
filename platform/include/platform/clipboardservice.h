#pragma once

#include <optional>
#include <string>

namespace platform {

// The clipboard's text, in the ANSI code page (Windows-1252) the engine reads.
class ClipboardService {
  public:
    virtual ~ClipboardService() = default;
    // Nothing when the clipboard holds no text; an empty text when it holds an empty one.
    virtual std::optional<std::string> ansiText() const = 0;
    virtual void setAnsiText(const std::string& text) = 0;
};

}  // namespace platform
