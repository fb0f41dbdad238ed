#include "testsupport/scriptedfiledialogservice.h"

namespace testsupport {

std::optional<QString> ScriptedFileDialogService::openFile(QWidget* owner, const QString& title,
                                                           const QString& directory,
                                                           const QString& filter) {
    return answer({FileDialogRequest::Kind::Open, owner, title, directory, filter});
}

std::optional<QString> ScriptedFileDialogService::saveFile(QWidget* owner, const QString& title,
                                                           const QString& directory,
                                                           const QString& filter) {
    return answer({FileDialogRequest::Kind::Save, owner, title, directory, filter});
}

std::optional<QString> ScriptedFileDialogService::answer(FileDialogRequest request) {
    m_requests.push_back(std::move(request));
    if (m_answers.empty()) {
        return std::nullopt;
    }
    const QString* answered = m_answers.front() ? &*m_answers.front() : nullptr;
    std::optional<QString> result;
    if (answered != nullptr) {
        result.emplace(*answered);
    }
    m_answers.pop_front();
    return result;
}

}  // namespace testsupport
