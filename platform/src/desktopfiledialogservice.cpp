#include "desktopfiledialogservice.h"

#include <QFileDialog>
#include <QFileSystemModel>

namespace platform {
namespace {

// The filter label the program's dialogs use for every file.
constexpr QLatin1StringView kEveryFile("(*.*)");

// "*.*" stands for every file in the dialogs the program was designed with, names without a dot
// too; Qt takes the pattern literally. So whenever such a filter is chosen, the dialog's file
// model is given "*" instead, while the label still reads as the program wrote it.
void listEveryFileForStarDotStar(QFileDialog& dialog) {
    const auto apply = [&dialog](const QString& filter) {
        auto* model = dialog.findChild<QFileSystemModel*>();
        if (model != nullptr && filter.contains(kEveryFile)) {
            model->setNameFilters({QStringLiteral("*")});
        }
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
    apply(dialog.selectedNameFilter());
}

std::optional<QString> runDialog(QWidget* owner, const QString& title, const QString& directory,
                                 const QString& filter, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, title, directory, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    listEveryFileForStarDotStar(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() ||
        dialog.selectedFiles().first().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> DesktopFileDialogService::openFile(QWidget* owner, const QString& title,
                                                          const QString& directory,
                                                          const QString& filter) {
    return runDialog(owner, title, directory, filter, QFileDialog::AcceptOpen);
}

std::optional<QString> DesktopFileDialogService::saveFile(QWidget* owner, const QString& title,
                                                          const QString& directory,
                                                          const QString& filter) {
    return runDialog(owner, title, directory, filter, QFileDialog::AcceptSave);
}

}  // namespace platform
