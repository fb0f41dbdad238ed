#pragma once

#include <cstdint>

namespace saymgr::engine {

// The engine status that stands for the exception being handled, for the places where one is
// caught: no exception leaves the engine, whose hosts may be written in C. Memory that cannot
// be had is SAYMGR_EMEMORY_ALLOC; a thread or other resource the system refused, and anything
// else, SAYMGR_EINSTANCE_CREATE. Call it only inside a catch block.
int32_t statusOfCurrentException() noexcept;

}  // namespace saymgr::engine
