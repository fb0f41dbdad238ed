#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "platform/filedialogservice.h"

namespace testsupport {

// One open or save dialog the program asked for.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QWidget* owner = nullptr;
    QString title;
    QString directory;
    QString filter;
};

// Stands in for the open and save dialogs in tests: answers from a queue of file names
// (an empty optional is a cancelled dialog) and records every request. With the queue empty
// every dialog is cancelled.
class ScriptedFileDialogService : public platform::FileDialogService {
  public:
    std::optional<QString> openFile(QWidget* owner, const QString& title, const QString& directory,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* owner, const QString& title, const QString& directory,
                                    const QString& filter) override;

    void queueAnswer(std::optional<QString> answer) { m_answers.push_back(std::move(answer)); }
    const std::vector<FileDialogRequest>& requests() const { return m_requests; }

  private:
    std::optional<QString> answer(FileDialogRequest request);

    std::deque<std::optional<QString>> m_answers;
    std::vector<FileDialogRequest> m_requests;
};

}  // namespace testsupport
