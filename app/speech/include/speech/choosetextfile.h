#pragma once

#include <optional>
#include <string>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace speech {

// Asks the user for a text file to speak with the File source: an open dialog for existing
// text files, starting in the folder of the current text file (or the start-up directory).
// Returns the full path, or nothing when the user cancelled.
std::optional<std::string> ChooseTextFile(context::ProgramContext& program, QWidget* owner);

}  // namespace speech
