#pragma once

#include <QString>

class QWidget;

namespace platform {

// Shows a help file (HTML or plain text) in a help window. A file that does not exist or
// cannot be read is a failure: show() returns false and opens nothing.
class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    virtual bool show(QWidget* owner, const QString& path) = 0;
};

}  // namespace platform
