#include "resources/acceleratortable.h"

#include <array>

namespace resources {

std::span<const Accelerator> acceleratorTable182() {
    static const std::array<Accelerator, 11> table{{
        {QKeyCombination(Qt::Key_F1), 116},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_F1), 118},
        {QKeyCombination(Qt::Key_F10), 102},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_F10), 103},
        {QKeyCombination(Qt::Key_F2), 114},
        {QKeyCombination(Qt::Key_F3), 100},
        {QKeyCombination(Qt::Key_F5), 250},
        {QKeyCombination(Qt::Key_F6), 251},
        {QKeyCombination(Qt::Key_F7), 135},
        {QKeyCombination(Qt::Key_F8), 137},
        {QKeyCombination(Qt::Key_F9), 117},
    }};
    return table;
}

const Accelerator& benchMonitorAccelerator() {
    static const Accelerator entry{QKeyCombination(Qt::ControlModifier, Qt::Key_M), 170};
    return entry;
}

}  // namespace resources
