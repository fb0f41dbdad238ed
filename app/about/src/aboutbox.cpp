#include "about/aboutbox.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "about/creditsdialogs.h"
#include "context/commandids.h"
#include "context/programcontext.h"
#include "hooks/inputhooks.h"
#include "platform/postedmessage.h"
#include "resources/dialogtemplates.h"
#include "resources/programicon.h"

namespace about {
namespace {

constexpr int kOkCommand = 1;
constexpr int kCancelCommand = 2;

void showMaker(QDialog& dialog) {
    if (auto* maker = qobject_cast<QLabel*>(platform::findItem(dialog, resources::kAboutMaker))) {
        maker->setTextFormat(Qt::PlainText);
        maker->setWordWrap(false);
        maker->setText(QStringLiteral("Quenvar"));
    }
}

void showIcon(QDialog& dialog) {
    if (auto* icon = qobject_cast<QLabel*>(platform::findItem(dialog, resources::kAboutIcon))) {
        icon->setPixmap(resources::programIcon().pixmap(icon->size()));
        icon->setAccessibleName(QStringLiteral("Program icon"));
    }
}

}  // namespace

AboutBox::AboutBox(context::ProgramContext& program, QWidget* owner)
    : m_program(program), m_dialog(platform::buildDialog(resources::aboutTemplate(), owner)) {
    showIcon(*m_dialog);
    showMaker(*m_dialog);
    if (auto* ok = qobject_cast<QPushButton*>(platform::findItem(*m_dialog, resources::kAboutOk))) {
        connect(ok, &QPushButton::clicked, this, [this] { onCommand(kOkCommand); });
    }
    m_dialog->installEventFilter(this);
    hooks::SetHookTargetWindow(m_program, m_dialog.get());
    hooks::SetKeyboardHook(m_program, true);
    hooks::SetHooksSuspended(m_program, false);
}

AboutBox::~AboutBox() = default;

int AboutBox::exec() {
    m_dialog->exec();
    return 1;
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_dialog.get()) {
        return false;
    }
    const int type = event->type();
    if (const auto* message = dynamic_cast<const platform::PostedMessage*>(event)) {
        if (type == platform::kCommandEventType) {
            onCommand(static_cast<int>(message->wParam() & 0xFFFF));
            return true;
        }
        if (type == context::UM_CREDITSPHOTO || type == context::UM_CREDITSSUPPORT) {
            showCredits(type);
            return true;
        }
    }
    const bool escape =
        type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (escape || type == QEvent::Close) {
        event->ignore();
        onCommand(kCancelCommand);
        return true;
    }
    return false;
}

void AboutBox::onCommand(int commandId) {
    if (commandId == kOkCommand || commandId == kCancelCommand) {
        m_dialog->done(1);
    }
    hooks::SetHooksSuspended(m_program, true);
    hooks::SetKeyboardHook(m_program, false);
}

// A credits message that arrives while one credits dialog is open (queued before the hooks
// were suspended) opens nothing.
void AboutBox::showCredits(int message) {
    if (m_creditsOpen) {
        return;
    }
    m_creditsOpen = true;
    hooks::SetHooksSuspended(m_program, true);
    if (message == context::UM_CREDITSPHOTO) {
        GroupPictureDialog(m_program, m_dialog.get()).exec();
    } else {
        makeSupportingGroupDialog(m_dialog.get())->exec();
    }
    hooks::SetHooksSuspended(m_program, false);
    m_creditsOpen = false;
}

int showAboutBox(context::ProgramContext& program, QWidget* owner) {
    return AboutBox(program, owner).exec();
}

}  // namespace about
