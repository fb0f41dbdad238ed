#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace dictionaries {

// The Load Dictionary command: the user chooses a dictionary file, which the engine loads for
// the current language into the first free slot of the dictionary table. A binary dictionary
// is loaded as it is, a text dictionary through ConvertTextDictionary. A file already loaded is
// replaced only when the user agrees, and a full table refuses every file. `window` received
// the command and owns its messages.
void loadDictionaryCommand(context::ProgramContext& program, QWidget* window);

// Has the engine compile the text dictionary at `sourcePath` into a temporary file in the
// start-up directory and load that; the temporary file is deleted whatever happens. In
// extended mode the user may keep a binary copy. Returns the handle of the loaded dictionary,
// or the failing engine status (negative), which has been reported.
int32_t ConvertTextDictionary(context::ProgramContext& program, const std::string& sourcePath);

}  // namespace dictionaries
