#pragma once

#include <QTextBrowser>
#include <memory>

#include "platform/helpviewer.h"

namespace platform {

// The help window: one text browser per program, reused for every help file. HTML files are
// shown as pages (their links and pictures work), any other file as plain text.
class DesktopHelpViewer : public HelpViewer {
  public:
    bool show(QWidget* owner, const QString& path) override;

  private:
    QTextBrowser& window();

    std::unique_ptr<QTextBrowser> m_window;
};

// The text of a help file that is not HTML: UTF-8 if it is valid UTF-8, else Windows-1252.
QString decodePlainHelpText(const QByteArray& bytes);

}  // namespace platform
