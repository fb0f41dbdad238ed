#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/instance.h"

namespace saymgr::engine {

// The engine keeps at most one open instance (eSpeak NG's state is process-wide); this is
// where it lives between EngineOpen and EngineClose, found by its handle. The instance belongs
// to the thread that opened it: a call from any other thread finds nothing.
class Registry {
  public:
    static int32_t open(int32_t& handle, const SaymgrHostThread* thread);
    static int32_t close(int32_t handle);
    // The open instance with `handle`, for its own thread; nullptr with `status` -12 (none
    // open) or -26 (another handle, or a call from another thread).
    static Instance* find(int32_t handle, int32_t& status);
    static const char* aboutText();

  private:
    struct State {
        std::mutex mutex;
        std::unique_ptr<Instance> instance;
        std::thread::id owner;
        int32_t handle = 0;
        int32_t nextHandle = 1;
    };
    static State& state();
    static Instance* findLocked(State& state, int32_t handle, int32_t& status);
};

}  // namespace saymgr::engine
