#include "desktopmessageservice.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdint>
#include <system_error>

#include "platform/profilefile.h"

namespace platform {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            break;
        case MessageIcon::None:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::Information;
}

}  // namespace

const char* soundEntryName(BeepKind kind) {
    switch (kind) {
        case BeepKind::Stop:
            return "SystemHand";
        case BeepKind::Exclamation:
            return "SystemExclamation";
        case BeepKind::Question:
            return "SystemQuestion";
        case BeepKind::Information:
            return "SystemAsterisk";
        case BeepKind::Default:
            break;
    }
    return "SystemDefault";
}

DesktopMessageService::DesktopMessageService(std::filesystem::path startupDirectory)
    : m_startupDirectory(std::move(startupDirectory)) {}

MessageResult DesktopMessageService::show(QWidget* owner, const QString& text,
                                          const QString& caption, MessageIcon icon,
                                          MessageButtons buttons) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, owner);
    if (owner == nullptr) {
        box.setWindowModality(Qt::ApplicationModal);
    }
    if (buttons == MessageButtons::Ok) {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
        box.exec();
        return MessageResult::Ok;
    }
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    box.addButton(QMessageBox::No);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes ? MessageResult::Yes : MessageResult::No;
}

void DesktopMessageService::beep(BeepKind kind) {
    const std::filesystem::path file = soundFile(kind);
    if (file.empty() || !m_sounds.playExcerpt(file, 0, INT64_MAX)) {
        QApplication::beep();
    }
}

std::filesystem::path DesktopMessageService::soundFile(BeepKind kind) const {
    const std::string name =
        ProfileFile(userProfilePath()).readString("sounds", soundEntryName(kind), "");
    if (name.empty()) {
        return {};
    }
    std::filesystem::path file(name);
    if (file.is_relative()) {
        file = m_startupDirectory / file;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) ? file : std::filesystem::path();
}

}  // namespace platform
