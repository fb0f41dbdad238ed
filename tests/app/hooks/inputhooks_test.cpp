#include "hooks/inputhooks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <utility>
#include <vector>

#include "context/programcontext.h"
#include "platform/postedmessage.h"
#include "testsupport/recordingservices.h"

namespace {

using platform::kCommandEventType;
using testsupport::MessageEvent;
// A posted message as the target received it: number and wParam.
using Posted = std::pair<int, intptr_t>;

Posted command(int id) {
    return {kCommandEventType, id};
}

// A window that keeps every numbered message posted to it.
class RecordingWindow : public QWidget {
  public:
    std::vector<Posted> posted;

  protected:
    bool event(QEvent* event) override {
        if (const auto* message = dynamic_cast<const platform::PostedMessage*>(event)) {
            posted.emplace_back(message->number(), message->wParam());
            return true;
        }
        return QWidget::event(event);
    }
};

class InputHooksTest : public ::testing::Test {
  protected:
    InputHooksTest() : m_recorders(testsupport::makeRecordingServices()) {
        m_program.services = std::move(m_recorders.services);
        m_program.hooks.hookTargetWindow = &m_target;
        m_window.resize(200, 100);
        m_window.show();
    }
    ~InputHooksTest() override {
        m_program.hooks.keyboardHook.reset();
        m_program.hooks.windowSwitchHook.reset();
    }

    // Key events reach the program's window as the window system delivers them.
    QWindow* window() const { return m_window.windowHandle(); }
    void click(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier) {
        QTest::keyClick(window(), key, held);
    }
    std::vector<Posted> takePosted() {
        QCoreApplication::processEvents();
        return std::exchange(m_target.posted, {});
    }

    testsupport::RecordingServices m_recorders;
    context::ProgramContext m_program;
    RecordingWindow m_target;
    QWidget m_window;
};

TEST_F(InputHooksTest, KeyTableWithAndWithoutControlAndAlt) {
    hooks::SetKeyboardHook(m_program, true);
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers control = Qt::ControlModifier;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const Qt::KeyboardModifiers both = control | alt;
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers held;
        std::vector<Posted> expected;
    };
    // Each keystroke is a press and a release: function keys post on the release only, the
    // two combinations on the press only.
    const std::vector<Case> cases{
        {Qt::Key_F1, none, {command(116)}},
        {Qt::Key_F1, control, {command(118)}},
        {Qt::Key_F2, control, {command(114)}},
        {Qt::Key_F3, none, {command(100)}},
        {Qt::Key_F4, none, {}},
        {Qt::Key_F4, alt, {command(101)}},
        {Qt::Key_F5, none, {command(250)}},
        {Qt::Key_F6, none, {command(251)}},
        {Qt::Key_F7, none, {command(135)}},
        {Qt::Key_F8, none, {command(137)}},
        {Qt::Key_F9, alt, {command(117)}},
        {Qt::Key_F10, none, {command(102)}},
        {Qt::Key_F10, control, {command(103)}},
        {Qt::Key_F11, none, {}},
        {Qt::Key_Insert, both, {{0x2004, 0}}},
        {Qt::Key_End, both, {{0x2005, 0}}},
        {Qt::Key_Insert, control, {}},
        {Qt::Key_End, alt, {}},
        {Qt::Key_End, none, {}},
    };
    for (const Case& keystroke : cases) {
        click(keystroke.key, keystroke.held);
        EXPECT_EQ(takePosted(), keystroke.expected)
            << QKeySequence(keystroke.key | keystroke.held).toString().toStdString();
    }
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

TEST_F(InputHooksTest, OnlyKeystrokesBegunWhileInstalledCount) {
    QTest::keyPress(window(), Qt::Key_F9);  // the key that opened the About box
    hooks::SetKeyboardHook(m_program, true);
    QTest::keyRelease(window(), Qt::Key_F9);
    QTest::keyPress(window(), Qt::Key_F5);
    EXPECT_EQ(takePosted(), std::vector<Posted>{});
    QTest::keyRelease(window(), Qt::Key_F5);
    EXPECT_EQ(takePosted(), std::vector<Posted>{command(250)});
}

TEST_F(InputHooksTest, SuspendedHooksPostNothing) {
    hooks::SetKeyboardHook(m_program, true);
    hooks::SetHooksSuspended(m_program, true);
    click(Qt::Key_F5);
    click(Qt::Key_End, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(takePosted(), std::vector<Posted>{});
    hooks::SetHooksSuspended(m_program, false);
    click(Qt::Key_F5);
    EXPECT_EQ(takePosted(), std::vector<Posted>{command(250)});
}

TEST_F(InputHooksTest, InstallingTwiceInstallsOneAndRemovingNoneDoesNothing) {
    hooks::SetKeyboardHook(m_program, false);
    hooks::SetWindowSwitchHook(m_program, false);
    for (int time = 0; time < 2; ++time) {
        hooks::SetKeyboardHook(m_program, true);
        hooks::SetWindowSwitchHook(m_program, true);
    }
    click(Qt::Key_F5);
    EXPECT_EQ(takePosted(), std::vector<Posted>{command(250)});

    QLineEdit edit(QStringLiteral("copy me"));
    edit.show();
    edit.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
    edit.selectAll();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&m_window, &activate);
    EXPECT_EQ(m_recorders.clipboard->setCount(), 1);

    hooks::SetKeyboardHook(m_program, false);
    hooks::SetWindowSwitchHook(m_program, false);
    click(Qt::Key_F5);
    QApplication::sendEvent(&m_window, &activate);
    EXPECT_EQ(takePosted(), std::vector<Posted>{});
    EXPECT_EQ(m_recorders.clipboard->setCount(), 1);
    EXPECT_TRUE(m_recorders.messages->log().empty());
}

TEST_F(InputHooksTest, AHookThatCannotBeInstalledIsReportedAndTriedAgainNextTime) {
    m_program.hooks.installHook = [](QObject&) { return false; };
    hooks::SetKeyboardHook(m_program, true);
    hooks::SetWindowSwitchHook(m_program, true);
    EXPECT_EQ(m_program.hooks.keyboardHook, nullptr);
    EXPECT_EQ(m_program.hooks.windowSwitchHook, nullptr);
    const auto beep = [] {
        MessageEvent event;
        event.kind = MessageEvent::Kind::Beep;
        event.beep = platform::BeepKind::Information;
        return event;
    };
    const auto box = [](const char* text, const char* caption) {
        MessageEvent event;
        event.text = QString::fromLatin1(text);
        event.caption = QString::fromLatin1(caption);
        return event;
    };
    const std::vector<MessageEvent> expected{beep(), box("Keyboard hook error!", "Keyboard"),
                                             beep(),
                                             box("Window switching hook error!", "Window Switch")};
    EXPECT_EQ(m_recorders.messages->log(), expected);

    m_program.hooks.installHook = platform::installApplicationFilter;
    hooks::SetKeyboardHook(m_program, true);
    click(Qt::Key_F3);
    EXPECT_EQ(takePosted(), std::vector<Posted>{command(100)});
    EXPECT_EQ(m_recorders.messages->log().size(), expected.size());
}

TEST_F(InputHooksTest, ActivatingAWindowCopiesTheSelectionThatHasTheFocus) {
    hooks::SetWindowSwitchHook(m_program, true);
    QWidget first;
    auto* plain = new QPlainTextEdit(QStringLiteral("one\ntwo three"), &first);
    auto* hidden = new QLineEdit(QStringLiteral("secret"), &first);
    hidden->setEchoMode(QLineEdit::Password);
    first.show();
    first.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    plain->setFocus();
    QTextCursor cursor = plain->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    plain->setTextCursor(cursor);

    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    EXPECT_EQ(m_recorders.clipboard->ansiText(), std::optional<std::string>("e\ntwo"));

    // A hidden entry and a focus without a selection give the clipboard nothing.
    m_recorders.clipboard->clear();
    for (QWidget* focus : {static_cast<QWidget*>(hidden), static_cast<QWidget*>(plain)}) {
        first.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
        hidden->selectAll();
        plain->moveCursor(QTextCursor::End);
        focus->setFocus();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    EXPECT_EQ(m_recorders.clipboard->ansiText(), std::nullopt);
    EXPECT_EQ(m_recorders.clipboard->setCount(), 1);
}

}  // namespace
