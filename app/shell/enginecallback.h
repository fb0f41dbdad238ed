#pragma once

#include <cstdint>

namespace context {
struct ProgramContext;
}

namespace shell {

// The engine's notification callback for one running program. The engine's callback carries no
// context, so the registration remembers which program receives the notifications for as long
// as it lives; they go to the program's engineNotify handler on the program's thread.
class EngineCallback {
  public:
    explicit EngineCallback(context::ProgramContext& program);
    ~EngineCallback();
    EngineCallback(const EngineCallback&) = delete;
    EngineCallback& operator=(const EngineCallback&) = delete;

    // Registers the callback with the engine; a failure is reported against the main window.
    void registerWithEngine();

  private:
    static int32_t notify(int32_t reserved, int32_t code, int32_t value1, int32_t value2);

    context::ProgramContext& m_program;
};

}  // namespace shell
