#include "speech/enginecallback.h"

#include "context/programcontext.h"
#include "engine/errorreport.h"

namespace speech {

EngineCallback::EngineCallback(context::ProgramContext& program)
    : m_program(program), m_forwarder([&program](int32_t code, int32_t value1, int32_t value2) {
          if (program.session.speechObserver) {
              program.session.speechObserver->notified(code, value1, value2, program.session.now());
          }
          if (program.session.engineNotify) {
              program.session.engineNotify(code, value1, value2);
          }
      }) {}

void EngineCallback::RegisterEngineCallback() {
    const int32_t status = m_program.session.engine->EngineSetCallback(
        m_program.session.engineInstance, 1, binding::NotifyForwarder::callback());
    if (status != 0) {
        engine::ReportError(*m_program.services.messages, m_program.controls.mainWindow, status);
    }
}

}  // namespace speech
