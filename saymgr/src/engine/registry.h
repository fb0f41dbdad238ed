#pragma once

#include <cstdint>
#include <memory>

#include "engine/instance.h"

namespace saymgr::engine {

// The engine keeps at most one open instance (eSpeak NG's state is process-wide); this is
// where it lives between EngineOpen and EngineClose, found by its handle.
class Registry {
  public:
    static int32_t open(int32_t& handle, const SaymgrHostThread* thread);
    static int32_t close(int32_t handle);
    // The open instance with `handle`; nullptr with `status` -12 (none open) or -26.
    static Instance* find(int32_t handle, int32_t& status);
    static const char* aboutText();

  private:
    static std::unique_ptr<Instance>& instance();
    static int32_t s_handle;
    static int32_t s_nextHandle;
};

}  // namespace saymgr::engine
