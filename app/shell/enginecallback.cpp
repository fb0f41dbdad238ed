#include "shell/enginecallback.h"

#include "context/programcontext.h"
#include "engine/errorreport.h"

namespace shell {

namespace {

context::ProgramContext* g_receiver = nullptr;

}  // namespace

EngineCallback::EngineCallback(context::ProgramContext& program) : m_program(program) {
    g_receiver = &program;
}

EngineCallback::~EngineCallback() {
    if (g_receiver == &m_program)
        g_receiver = nullptr;
}

void EngineCallback::registerWithEngine() {
    const int32_t status =
        m_program.engine->EngineSetCallback(m_program.engineInstance, 1, &notify);
    if (status != 0)
        engine::ReportError(*m_program.services.messages, m_program.mainWindow, status);
}

int32_t EngineCallback::notify(int32_t, int32_t code, int32_t value1, int32_t value2) {
    if (g_receiver && g_receiver->engineNotify)
        g_receiver->engineNotify(code, value1, value2);
    return 0;
}

}  // namespace shell
