#pragma once

#include <QString>
#include <vector>

#include "platform/helpviewer.h"

namespace testsupport {

// One help request: the owner window and the path asked for.
struct HelpRequest {
    QWidget* owner = nullptr;
    QString path;
};

// Stands in for the help window in tests: records every request and succeeds exactly when the
// path names a readable file, as the real viewer does. Opens no window.
class RecordingHelpViewer : public platform::HelpViewer {
  public:
    bool show(QWidget* owner, const QString& path) override;
    const std::vector<HelpRequest>& requests() const { return m_requests; }

  private:
    std::vector<HelpRequest> m_requests;
};

}  // namespace testsupport
