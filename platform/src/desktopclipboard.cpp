#include "desktopclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/codepage.h"

namespace platform {

std::string DesktopClipboard::ansiText() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return {};
    }
    return utf8ToAnsi(clipboard->text().toStdString());
}

void DesktopClipboard::setAnsiText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromStdString(ansiToUtf8(text)));
    }
}

}  // namespace platform
