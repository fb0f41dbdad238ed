#include "dictionaries/loaddictionary.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "context/programcontext.h"
#include "dictionaries/choosedictionaryfile.h"
#include "dictionaries/dictionarytable.h"
#include "engine/errorreport.h"

namespace dictionaries {
namespace {

using platform::BeepKind;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

// A file that an engine operation is to write, deleted when this goes out of scope, whether
// the operation wrote it or not.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : m_path(std::move(path)) {}
    ~TemporaryFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const char* path() const { return m_path.c_str(); }

  private:
    std::string m_path;
};

bool askYesNo(context::ProgramContext& program, QWidget* owner, const QString& question) {
    program.services.messages->beep(BeepKind::Question);
    return program.services.messages->show(owner, question, QStringLiteral("Load Dictionary"),
                                           MessageIcon::Question,
                                           MessageButtons::YesNo) == MessageResult::Yes;
}

void report(context::ProgramContext& program, QWidget* owner, int32_t status) {
    if (status != 0)
        engine::ReportError(*program.services.messages, owner, status);
}

int32_t compileFlag(const context::AppState& state) {
    return state.DictFileType == 1 ? 1 : 0;
}

// "~" and two right-aligned numbers in the start-up directory: the running instance (its
// process id) and the conversion's counter, so that no two conversions share a name.
std::string nextTemporaryPath(context::ProgramContext& program) {
    constexpr int kInstanceBase = 1000000;
    constexpr int kCounterBase = 100;
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "~%7d.%3d",
                  static_cast<int>(::getpid()) + kInstanceBase,
                  program.tempDictionaryCounter + kCounterBase);
    ++program.tempDictionaryCounter;
    return program.paths.startupDirectory + "/" + name.data();
}

// Compiles the source into a temporary file and loads that. Returns the handle or the
// failing status, reported with the main window as owner.
int32_t loadThroughTemporaryFile(context::ProgramContext& program, const std::string& sourcePath) {
    const binding::EngineOps& engine = *program.session.engine;
    const TemporaryFile temporary(nextTemporaryPath(program));
    int32_t status =
        engine.EngineCompileDictionary(program.session.engineInstance, sourcePath.c_str(),
                                       compileFlag(program.appState), temporary.path());
    int32_t handle = 0;
    if (status == 0)
        status =
            engine.EngineLoadDictionary(program.session.engineInstance, &handle, temporary.path());
    report(program, program.controls.mainWindow, status);
    return status == 0 ? handle : status;
}

// Extended mode: a second compilation of the source straight into a binary file the user
// names; the dictionary stays loaded whatever becomes of the copy.
void offerBinaryCopy(context::ProgramContext& program, const std::string& sourcePath) {
    QWidget* owner = program.controls.mainWindow;
    if (!askYesNo(
            program, owner,
            QStringLiteral("Do you want to save this file with the binary dictionary format?")))
        return;
    const std::string defaultName = std::filesystem::path(sourcePath).stem().string() + ".dcb";
    const std::optional<std::string> chosen =
        ChooseBinaryDictionaryFile(program, owner, defaultName);
    if (!chosen)
        return;
    report(program, owner,
           program.session.engine->EngineCompileDictionary(
               program.session.engineInstance, sourcePath.c_str(), compileFlag(program.appState),
               chosen->c_str()));
}

void warnTableFull(context::ProgramContext& program, QWidget* window) {
    program.services.messages->beep(BeepKind::Exclamation);
    program.services.messages->show(window, QStringLiteral("No more space available!"),
                                    QStringLiteral("Error"), MessageIcon::Exclamation,
                                    MessageButtons::Ok);
}

// Unloads every loaded copy of `path` when the user agrees to replace it; false when the user
// declined, and nothing changed.
bool replaceLoadedCopies(context::ProgramContext& program, QWidget* window,
                         const std::string& path) {
    context::AppState& state = program.appState;
    for (int slot = 0; slot < context::kDictionarySlots; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        if (state.DictPath[index] != path)
            continue;
        if (!askYesNo(program, window,
                      QStringLiteral("The selected dictionary has already been loaded!\n Do you "
                                     "want to replace it with the newly selected dictionary?")))
            return false;
        report(program, window,
               program.session.engine->EngineUnloadDictionary(program.session.engineInstance,
                                                              state.DictHandle[index]));
        freeSlot(state, slot);
    }
    return true;
}

// Loads the dictionary at `path` as a binary dictionary, or else as a text dictionary. Returns
// its handle, or the failing status, which has been reported.
int32_t loadDictionary(context::ProgramContext& program, const std::string& path) {
    int32_t handle = 0;
    const int32_t status = program.session.engine->EngineLoadDictionary(
        program.session.engineInstance, &handle, path.c_str());
    if (status == 0)
        return handle;
    if (status == SAYMGR_EDICT_FORMAT)
        return ConvertTextDictionary(program, path);
    report(program, nullptr, status);
    return status;
}

}  // namespace

void loadDictionaryCommand(context::ProgramContext& program, QWidget* window) {
    const std::optional<std::string> chosen = ChooseDictionaryFile(program, window);
    if (!chosen)
        return;
    program.appState.DictFileType = 1;
    const std::optional<int> target = firstFreeSlot(program.appState);
    if (!target) {
        warnTableFull(program, window);
        return;
    }
    if (!replaceLoadedCopies(program, window, *chosen))
        return;
    const int32_t handle = loadDictionary(program, *chosen);
    if (handle >= 0)
        occupySlot(program.appState, *target, *chosen, handle);
}

int32_t ConvertTextDictionary(context::ProgramContext& program, const std::string& sourcePath) {
    const int32_t handle = loadThroughTemporaryFile(program, sourcePath);
    if (handle >= 0 && program.extendedMode)
        offerBinaryCopy(program, sourcePath);
    return handle;
}

}  // namespace dictionaries
