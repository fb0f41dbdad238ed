#pragma once

namespace platform {

// Keeps the memory of large freed blocks in the process instead of returning it to the system
// at once. A text of megabytes is read, translated and handed to the engine on every Speak;
// given back and taken again each time, its pages are faulted in anew before the first sound.
// Call once at start-up, before the first large allocation.
void keepFreedMemoryForReuse();

}  // namespace platform
