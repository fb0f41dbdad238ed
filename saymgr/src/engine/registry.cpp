#include "engine/registry.h"

namespace saymgr::engine {

int32_t Registry::s_handle = 0;
int32_t Registry::s_nextHandle = 1;

std::unique_ptr<Instance>& Registry::instance() {
    static std::unique_ptr<Instance> open;
    return open;
}

int32_t Registry::open(int32_t& handle, const SaymgrHostThread* thread) {
    if (instance()) {
        return SAYMGR_EINSTANCE_BUSY;
    }
    auto created = std::make_unique<Instance>(thread);
    if (!created->isReady()) {
        return SAYMGR_EENGINE_LOADING;
    }
    instance() = std::move(created);
    s_handle = s_nextHandle++;
    handle = s_handle;
    return 0;
}

int32_t Registry::close(int32_t handle) {
    int32_t status = 0;
    Instance* open = find(handle, status);
    if (open == nullptr) {
        return status;
    }
    if (open->isBusy()) {
        return SAYMGR_EBUSY;
    }
    instance().reset();
    s_handle = 0;
    return 0;
}

Instance* Registry::find(int32_t handle, int32_t& status) {
    if (!instance()) {
        status = SAYMGR_ENOT_INITIALIZED;
        return nullptr;
    }
    if (handle != s_handle) {
        status = SAYMGR_EINSTANCE;
        return nullptr;
    }
    status = 0;
    return instance().get();
}

const char* Registry::aboutText() {
    return "This is the Quenvar Voxtrial speech engine. It reads text aloud in twenty-five "
           "languages, from English and German to Swahili and Latin, with nine speakers for "
           "each language, and with the volume, the pitch and the speaking rate set in nine "
           "steps each. It speaks at sampling rates from seven point two to eleven point zero "
           "two five kilohertz, and it can write its speech into sound files in five formats. "
           "User dictionaries change how words are pronounced. The voices come from eSpeak "
           "N G, a free and open source speech synthesizer.";
}

}  // namespace saymgr::engine
