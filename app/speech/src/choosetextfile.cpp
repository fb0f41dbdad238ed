#include "speech/choosetextfile.h"

#include <filesystem>

#include "context/programcontext.h"

namespace speech {

std::optional<std::string> ChooseTextFile(context::ProgramContext& program, QWidget* owner) {
    const std::string& current = program.appState.textFilePath;
    const std::string directory = current.empty()
                                      ? program.paths.startupDirectory
                                      : std::filesystem::path(current).parent_path().string();
    const std::optional<QString> chosen = program.services.fileDialogs->openFile(
        owner, QStringLiteral("Open a Text File"), QString::fromStdString(directory),
        QStringLiteral("Text Files (*.txt);;all Files (*.*)"));
    if (!chosen)
        return std::nullopt;
    return chosen->toStdString();
}

}  // namespace speech
