#include "dictionaries/choosedictionaryfile.h"

#include "context/programcontext.h"

namespace dictionaries {
namespace {

std::optional<std::string> pathOf(const std::optional<QString>& chosen) {
    if (!chosen)
        return std::nullopt;
    return chosen->toStdString();
}

}  // namespace

std::optional<std::string> ChooseDictionaryFile(context::ProgramContext& program, QWidget* owner) {
    std::optional<std::string> chosen = pathOf(program.services.fileDialogs->openFile(
        owner, QStringLiteral("Load a User Dictionary File"),
        QString::fromStdString(program.commonFileName),
        QStringLiteral("User Dictionary Files (*.dct);;all Files (*.*)")));
    if (chosen)
        program.commonFileName = *chosen;
    return chosen;
}

std::optional<std::string> ChooseBinaryDictionaryFile(context::ProgramContext& program,
                                                      QWidget* owner,
                                                      const std::string& defaultName) {
    return pathOf(program.services.fileDialogs->saveFile(
        owner, QStringLiteral("Save as a Binary User Dictionary"),
        QString::fromStdString(defaultName),
        QStringLiteral("Binary User Dictionary (*.dcb);;all Files (*.*)")));
}

}  // namespace dictionaries
