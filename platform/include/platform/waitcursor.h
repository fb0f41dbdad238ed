#pragma once

namespace platform {

// Shows the wait cursor for the life of the object (nested ones stack).
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    bool m_shown;
};

}  // namespace platform
