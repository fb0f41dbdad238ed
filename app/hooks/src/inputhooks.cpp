#include "hooks/inputhooks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <array>
#include <memory>
#include <set>

#include "common/codepage.h"
#include "context/commandids.h"
#include "context/programcontext.h"
#include "engine/menubar.h"
#include "platform/postedmessage.h"

namespace hooks {
namespace {

using namespace context;

// A released function key's command: `whenHeld` while the condition's modifier is held,
// `otherwise` else; 0 is no command.
struct KeyCommand {
    int key;
    Qt::KeyboardModifier condition;
    int whenHeld;
    int otherwise;
};

constexpr std::array kKeyTable{
    KeyCommand{Qt::Key_F1, Qt::ControlModifier, IDM_LANGHELP, IDM_HELPCONTENTS},
    KeyCommand{Qt::Key_F2, Qt::NoModifier, 0, IDM_DEFAULTS},
    KeyCommand{Qt::Key_F3, Qt::NoModifier, 0, IDM_OPEN},
    KeyCommand{Qt::Key_F4, Qt::AltModifier, IDM_EXIT, 0},
    KeyCommand{Qt::Key_F5, Qt::NoModifier, 0, IDC_SPEAK},
    KeyCommand{Qt::Key_F6, Qt::NoModifier, 0, IDC_ABOUTSPEAK},
    KeyCommand{Qt::Key_F7, Qt::NoModifier, 0, IDM_SOURCEFILE},
    KeyCommand{Qt::Key_F8, Qt::NoModifier, 0, IDM_SOURCEKEYBOARD},
    KeyCommand{Qt::Key_F9, Qt::NoModifier, 0, IDM_ABOUT},
    KeyCommand{Qt::Key_F10, Qt::ControlModifier, IDM_UNLOADDICT, IDM_LOADDICT},
};

int commandOfRelease(int key, Qt::KeyboardModifiers held) {
    for (const KeyCommand& entry : kKeyTable) {
        if (entry.key == key) {
            return held & entry.condition ? entry.whenHeld : entry.otherwise;
        }
    }
    return 0;
}

int creditsMessageOfPress(int key, Qt::KeyboardModifiers held) {
    const Qt::KeyboardModifiers controlAndAlt = Qt::ControlModifier | Qt::AltModifier;
    if ((held & controlAndAlt) != controlAndAlt) {
        return 0;
    }
    if (key == Qt::Key_End) {
        return UM_CREDITSSUPPORT;
    }
    return key == Qt::Key_Insert ? UM_CREDITSPHOTO : 0;
}

// The text a copy shortcut takes from `widget`: its selection; nothing from a hidden entry.
QString selectionOf(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return line->echoMode() == QLineEdit::Normal ? line->selectedText() : QString();
    }
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) {
        return plain->textCursor().selection().toPlainText();
    }
    if (const auto* rich = qobject_cast<const QTextEdit*>(widget)) {
        return rich->textCursor().selection().toPlainText();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->selectedText();
    }
    return {};
}

// An event filter on the whole program that takes itself out when it goes.
class ApplicationHook : public QObject {
  public:
    explicit ApplicationHook(ProgramContext& program) : m_program(program) {}
    ~ApplicationHook() override { platform::removeApplicationFilter(*this); }
    ApplicationHook(const ApplicationHook&) = delete;
    ApplicationHook& operator=(const ApplicationHook&) = delete;

  protected:
    ProgramContext& m_program;
};

// Sees every key event once, as the window system hands it to one of the program's windows,
// and posts what the key table and the two combinations produce.
class KeyboardHook : public ApplicationHook {
  public:
    using ApplicationHook::ApplicationHook;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
        if (isKey && watched->isWindowType()) {
            KeyboardHookProc(*static_cast<const QKeyEvent*>(event));
        }
        return false;
    }

  private:
    void KeyboardHookProc(const QKeyEvent& key) {
        const bool pressed = key.type() == QEvent::KeyPress;
        const bool begunHere = pressed || m_pressed.erase(key.key()) > 0;
        if (pressed) {
            m_pressed.insert(key.key());
        }
        if (m_program.hooks.hooksSuspended || !begunHere || key.isAutoRepeat()) {
            return;
        }
        if (pressed) {
            if (const int message = creditsMessageOfPress(key.key(), key.modifiers())) {
                platform::postMessage(m_program.hooks.hookTargetWindow, message);
            }
        } else if (const int command = commandOfRelease(key.key(), key.modifiers());
                   command != 0 && sendsCommand(command)) {
            platform::postCommand(m_program.hooks.hookTargetWindow, command);
        }
    }

    // Like the shortcut keys, the hook leaves out commands whose menu item is disabled.
    bool sendsCommand(int command) const {
        return !m_program.controls.menuBar || m_program.controls.menuBar->sendsCommand(command);
    }

    std::set<int> m_pressed;  // keys gone down since installation and not yet up
};

// Copies the focused widget's selection whenever one of the program's windows is activated.
// Qt activates a window before it moves the focus into it, so the focus is still where it was.
class WindowSwitchHook : public ApplicationHook {
  public:
    using ApplicationHook::ApplicationHook;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            WindowSwitchHookProc();
        }
        return false;
    }

  private:
    void WindowSwitchHookProc() {
        const QString selection = selectionOf(QApplication::focusWidget());
        if (!selection.isEmpty()) {
            m_program.services.clipboard->setAnsiText(common::utf8ToAnsi(selection.toStdString()));
        }
    }
};

template <class Hook>
void setHook(ProgramContext& program, std::unique_ptr<QObject>& hook, bool install,
             const QString& caption, const QString& failure) {
    if (!install) {
        hook.reset();
        return;
    }
    if (hook) {
        return;
    }
    auto created = std::make_unique<Hook>(program);
    if (program.hooks.installHook && program.hooks.installHook(*created)) {
        hook = std::move(created);
        return;
    }
    program.services.messages->beep(platform::BeepKind::Information);
    program.services.messages->show(nullptr, failure, caption, platform::MessageIcon::Information,
                                    platform::MessageButtons::Ok);
}

}  // namespace

void SetKeyboardHook(ProgramContext& program, bool install) {
    setHook<KeyboardHook>(program, program.hooks.keyboardHook, install, QStringLiteral("Keyboard"),
                          QStringLiteral("Keyboard hook error!"));
}

void SetWindowSwitchHook(ProgramContext& program, bool install) {
    setHook<WindowSwitchHook>(program, program.hooks.windowSwitchHook, install,
                              QStringLiteral("Window Switch"),
                              QStringLiteral("Window switching hook error!"));
}

void SetHookTargetWindow(ProgramContext& program, QWidget* window) {
    program.hooks.hookTargetWindow = window;
}

void SetHooksSuspended(ProgramContext& program, bool suspended) {
    program.hooks.hooksSuspended = suspended;
}

}  // namespace hooks
