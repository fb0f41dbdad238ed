#pragma once

#include <filesystem>

#include "suite/rendering.h"

namespace suite {

// Reads a mono sound file (a wave, a FLAC) into the rendering's rate and samples; false when
// it cannot be read or has more than one channel.
bool readSound(const std::filesystem::path& path, Rendering& rendering);

}  // namespace suite
