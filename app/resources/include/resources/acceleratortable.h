#pragma once

#include <QKeySequence>
#include <cstdint>
#include <span>

namespace resources {

// One entry of an accelerator table: a key (with its modifiers) and the command it sends.
struct Accelerator {
    QKeyCombination key;
    int32_t command;
};

// Accelerator table 182: the function keys of the main window. F4 alone has no entry.
std::span<const Accelerator> acceleratorTable182();

// The key of the bench monitor, Ctrl+M, installed beside table 182.
const Accelerator& benchMonitorAccelerator();

}  // namespace resources
