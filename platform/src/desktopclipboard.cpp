#include "desktopclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "common/codepage.h"

namespace platform {

std::optional<std::string> DesktopClipboard::ansiText() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return common::utf8ToAnsi(data->text().toStdString());
}

void DesktopClipboard::setAnsiText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromStdString(common::ansiToUtf8(text)));
    }
}

}  // namespace platform
