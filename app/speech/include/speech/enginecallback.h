#pragma once

#include <cstdint>

#include "binding/notifyforwarder.h"

namespace context {
struct ProgramContext;
}

namespace speech {

// The engine's notification callback for one running program: while it lives, notifications go
// to the speech observer, if one is set, and to the program's engineNotify handler on the
// program's thread.
class EngineCallback {
  public:
    explicit EngineCallback(context::ProgramContext& program);

    // Registers the callback with the engine; a failure is reported against the main window.
    void RegisterEngineCallback();

  private:
    context::ProgramContext& m_program;
    binding::NotifyForwarder m_forwarder;
};

}  // namespace speech
