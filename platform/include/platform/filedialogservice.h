#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace platform {

// Open and save dialogs for file names. `filter` uses Qt's "Name (*.ext);;Other (*)" form.
// An empty optional means the user cancelled. Tests replace the service with scripted answers.
class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    virtual std::optional<QString> openFile(QWidget* owner, const QString& title,
                                            const QString& directory, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(QWidget* owner, const QString& title,
                                            const QString& directory, const QString& filter) = 0;
};

}  // namespace platform
