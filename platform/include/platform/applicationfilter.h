#pragma once

class QObject;

namespace platform {

// Puts `filter` in front of every event of the program's thread, as a thread-local hook sees
// every message: false when there is no application object or the filter belongs to another
// thread. Removing a filter that is not installed does nothing.
bool installApplicationFilter(QObject& filter);
void removeApplicationFilter(QObject& filter);

}  // namespace platform
