#pragma once

#include "platform/filedialogservice.h"

namespace platform {

// Open and save dialogs as Qt file dialogs (Qt's own, the same on every desktop).
class DesktopFileDialogService : public FileDialogService {
  public:
    std::optional<QString> openFile(QWidget* owner, const QString& title, const QString& directory,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* owner, const QString& title, const QString& directory,
                                    const QString& filter) override;
};

}  // namespace platform
