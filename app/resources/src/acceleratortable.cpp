#include "resources/acceleratortable.h"

#include <array>

#include "context/commandids.h"

namespace resources {

std::span<const Accelerator> acceleratorTable182() {
    static const std::array<Accelerator, 11> table{{
        {QKeyCombination(Qt::Key_F1), context::IDM_HELPCONTENTS},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_F1), context::IDM_LANGHELP},
        {QKeyCombination(Qt::Key_F10), context::IDM_LOADDICT},
        {QKeyCombination(Qt::ControlModifier, Qt::Key_F10), context::IDM_UNLOADDICT},
        {QKeyCombination(Qt::Key_F2), context::IDM_DEFAULTS},
        {QKeyCombination(Qt::Key_F3), context::IDM_OPEN},
        {QKeyCombination(Qt::Key_F5), context::IDC_SPEAK},
        {QKeyCombination(Qt::Key_F6), context::IDC_ABOUTSPEAK},
        {QKeyCombination(Qt::Key_F7), context::IDM_SOURCEFILE},
        {QKeyCombination(Qt::Key_F8), context::IDM_SOURCEKEYBOARD},
        {QKeyCombination(Qt::Key_F9), context::IDM_ABOUT},
    }};
    return table;
}

const Accelerator& benchMonitorAccelerator() {
    static const Accelerator entry{QKeyCombination(Qt::ControlModifier, Qt::Key_M),
                                   context::IDM_BENCHMONITOR};
    return entry;
}

}  // namespace resources
