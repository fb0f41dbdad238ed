#pragma once

#include <optional>
#include <string>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace dictionaries {

// Asks the user for an existing dictionary file to load, starting with the name the program's
// file dialogs share; the chosen path becomes that shared name. Returns the whole path, or
// nothing when the user cancelled.
std::optional<std::string> ChooseDictionaryFile(context::ProgramContext& program, QWidget* owner);

// Asks the user where to keep a binary copy of a dictionary, starting with `defaultName` (a
// bare file name). Returns the whole path, or nothing when the user cancelled.
std::optional<std::string> ChooseBinaryDictionaryFile(context::ProgramContext& program,
                                                      QWidget* owner,
                                                      const std::string& defaultName);

}  // namespace dictionaries
