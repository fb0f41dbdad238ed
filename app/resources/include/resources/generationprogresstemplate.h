#pragma once

#include "platform/dialogtemplate.h"

namespace resources {

// Dialog 3000, "Generating PCM Data File": a line of text and Cancel (id 2).
inline constexpr int kGenerationProgressDialog = 3000;
inline constexpr int kGenerationCancel = 2;

const platform::DialogTemplate& generationProgressTemplate();

}  // namespace resources
