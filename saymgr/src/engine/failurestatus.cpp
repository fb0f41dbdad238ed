#include "engine/failurestatus.h"

#include <saymgr.h>

#include <new>
#include <stdexcept>

namespace saymgr::engine {

int32_t statusOfCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return SAYMGR_EMEMORY_ALLOC;
    } catch (const std::length_error&) {
        return SAYMGR_EMEMORY_ALLOC;
    } catch (...) {
        return SAYMGR_EINSTANCE_CREATE;
    }
}

}  // namespace saymgr::engine
