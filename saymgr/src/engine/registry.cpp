#include "engine/registry.h"

namespace saymgr::engine {

Registry::State& Registry::state() {
    static State registry;
    return registry;
}

int32_t Registry::open(int32_t& handle, const SaymgrHostThread* thread) {
    State& registry = state();
    const std::lock_guard lock(registry.mutex);
    if (registry.instance) {
        return SAYMGR_EINSTANCE_BUSY;
    }
    auto created = std::make_unique<Instance>(thread);
    if (!created->isReady()) {
        return SAYMGR_EENGINE_LOADING;
    }
    registry.instance = std::move(created);
    registry.owner = std::this_thread::get_id();
    registry.handle = registry.nextHandle++;
    handle = registry.handle;
    return 0;
}

int32_t Registry::close(int32_t handle) {
    State& registry = state();
    std::unique_ptr<Instance> closed;
    {
        const std::lock_guard lock(registry.mutex);
        int32_t status = 0;
        Instance* open = findLocked(registry, handle, status);
        if (open == nullptr) {
            return status;
        }
        if (open->isBusy()) {
            return SAYMGR_EBUSY;
        }
        closed = std::move(registry.instance);
        registry.handle = 0;
    }
    return 0;
}

Instance* Registry::find(int32_t handle, int32_t& status) {
    State& registry = state();
    const std::lock_guard lock(registry.mutex);
    return findLocked(registry, handle, status);
}

Instance* Registry::findLocked(State& registry, int32_t handle, int32_t& status) {
    if (!registry.instance) {
        status = SAYMGR_ENOT_INITIALIZED;
        return nullptr;
    }
    if (handle != registry.handle || std::this_thread::get_id() != registry.owner) {
        status = SAYMGR_EINSTANCE;
        return nullptr;
    }
    status = 0;
    return registry.instance.get();
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
