#include "desktopfiledialogservice.h"

#include <QFileDialog>

namespace platform {
namespace {

std::optional<QString> chosen(const QString& fileName) {
    if (fileName.isEmpty()) {
        return std::nullopt;
    }
    return fileName;
}

}  // namespace

std::optional<QString> DesktopFileDialogService::openFile(QWidget* owner, const QString& title,
                                                          const QString& directory,
                                                          const QString& filter) {
    return chosen(QFileDialog::getOpenFileName(owner, title, directory, filter, nullptr,
                                               QFileDialog::DontUseNativeDialog));
}

std::optional<QString> DesktopFileDialogService::saveFile(QWidget* owner, const QString& title,
                                                          const QString& directory,
                                                          const QString& filter) {
    return chosen(QFileDialog::getSaveFileName(
        owner, title, directory, filter, nullptr,
        QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite));
}

}  // namespace platform
