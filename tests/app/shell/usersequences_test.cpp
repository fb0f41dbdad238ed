// Random sequences of what a user does with the program — typing, selecting, speaking with
// Pause, Resume and Stop inside, the demo and about texts, choosing sources, files and
// languages, the mini panel, sound files, the About box, another program's clipboard — run
// against a record of what the user owns. After every step the typed texts, the selection and
// the clipboard are the user's, the shown window looks as the engine's state says, and no dialog
// hides behind its owner. RC_PARAMS runs more (for example "max_success=1000").
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <array>
#include <fstream>
#include <sstream>

#include "context/commandids.h"
#include "engine/menubar.h"
#include "mainwindow.h"
#include "resources/buttonpictures.h"
#include "shellfixture.h"

namespace shelltest {
namespace {

using context::SpeechState;
using shell::ButtonSet;

constexpr char kStoryText[] = "Once upon a time a file was read aloud.";

// What decides which steps exist: extended mode brings the panel and the GenFile menu. Which
// window shows is read from the program itself, since a step inside a speech may swap them.
struct Model {
    bool extended = false;
};

// One thing that happens while the engine speaks or writes a file.
struct Happening {
    enum Kind { Chunk, Mark, Pause, Stop, Key, Type, Minimise, Restore, OtherClipboard };
    Kind kind = Chunk;
    int first = 0;
    int second = 0;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const Happening& happening) {
    static const std::array<const char*, 9> names{"chunk", "mark",     "pause",   "stop",     "key",
                                                  "type",  "minimise", "restore", "clipboard"};
    out << names[static_cast<std::size_t>(happening.kind)] << '(' << happening.first << ','
        << happening.second;
    if (!happening.text.empty()) {
        out << ",\"" << happening.text << '"';
    }
    return out << ')';
}

// The function keys of the key table, and Control+M for the bench monitor.
const std::array<QKeyCombination, 12> kKeys{QKeyCombination(Qt::Key_F1),
                                            QKeyCombination(Qt::ControlModifier, Qt::Key_F1),
                                            QKeyCombination(Qt::Key_F2),
                                            QKeyCombination(Qt::Key_F3),
                                            QKeyCombination(Qt::Key_F5),
                                            QKeyCombination(Qt::Key_F6),
                                            QKeyCombination(Qt::Key_F7),
                                            QKeyCombination(Qt::Key_F8),
                                            QKeyCombination(Qt::Key_F9),
                                            QKeyCombination(Qt::Key_F10),
                                            QKeyCombination(Qt::ControlModifier, Qt::Key_F10),
                                            QKeyCombination(Qt::ControlModifier, Qt::Key_M)};

// A value in [min, max), any of them alike whatever the size RapidCheck generates at.
rc::Gen<int> anyIn(int min, int max) {
    return rc::gen::resize(100, rc::gen::inRange(min, max));
}

rc::Gen<std::string> typedWords() {
    return rc::gen::mapcat(anyIn(1, 10), [](int length) {
        return rc::gen::container<std::string>(static_cast<std::size_t>(length),
                                               rc::gen::elementOf(std::string("abcdefghij ")));
    });
}

rc::Gen<Happening> happening(bool extended) {
    auto kinds = rc::gen::suchThat(anyIn(0, 9), [extended](int kind) {
        return extended || (kind != Happening::Minimise && kind != Happening::Restore);
    });
    return rc::gen::apply(
        [](int kind, int first, int second, std::string text) {
            Happening made{static_cast<Happening::Kind>(kind), first, second, {}};
            if (kind == Happening::Type || kind == Happening::OtherClipboard) {
                made.text = std::move(text);
            }
            return made;
        },
        kinds, anyIn(0, 1000), anyIn(0, 1000), typedWords());
}

rc::Gen<std::vector<Happening>> happenings(bool extended) {
    return rc::gen::mapcat(anyIn(0, 9), [extended](int count) {
        return rc::gen::container<std::vector<Happening>>(static_cast<std::size_t>(count),
                                                          happening(extended));
    });
}

class UserSequenceTest : public ShellFixture {
  public:
    using ShellFixture::drain;
    using ShellFixture::m_engine;
    using ShellFixture::m_recorders;
    using ShellFixture::mainWindow;
    using ShellFixture::program;
    using ShellFixture::selectInput;
    using ShellFixture::startupDirectory;
    using ShellFixture::whenModalShown;

    // Starts the program with the Keyboard source and English, demo files beside it.
    void startProgram(bool extended) {
        writeSettings(twoLanguageSettings(1, context::IDM_SOURCEKEYBOARD));
        std::ofstream(startupDirectory() / "DEMO_EN.TXT") << "Hello from the demo.";
        std::ofstream(startupDirectory() / "DEMO_DE.TXT") << "Hallo aus der Demo.";
        std::ofstream(startupDirectory() / "story.txt") << kStoryText;
        RC_ASSERT(start(extended ? "SAYRUN" : "") == std::nullopt);
        // Each reading a second after the last: a generation's echo never waits for a refresh.
        program().session.now = [this] { return m_clock += std::chrono::seconds(1); };
        m_clipboard = "another program's text";
        m_recorders.clipboard->setAnsiText(*m_clipboard);
        m_selectionLanguage = program().appState.Language;
    }

    // ---- what the user does ----
    QWidget* shownWindow() const {
        if (m_program->miniPanel() && m_program->miniPanel()->isVisible()) {
            return m_program->miniPanel();
        }
        return &mainWindow();
    }
    bool mainShown() const { return shownWindow() == &mainWindow(); }
    ButtonSet& shownButtons() const {
        return mainShown() ? mainWindow().buttons() : m_program->miniPanel()->buttons();
    }
    void pressKey(QKeyCombination key) {
        QWidget* window = shownWindow();
        if (!window->isActiveWindow()) {
            window->activateWindow();
            static_cast<void>(QTest::qWaitForWindowActive(window, 200));
        }
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
        drain();
    }
    void click(ButtonSet::Index index) {
        shownButtons().button(index).click();
        drain();
    }
    void typeIntoInput(const std::string& text) {
        QTest::keyClicks(&mainWindow().input(), QString::fromStdString(text));
        drain();
    }
    void minimise() {
        mainWindow().showMinimized();
        drain();
    }
    void restore() {
        if (m_program->miniPanel()->isVisible()) {
            m_program->miniPanel()->showMaximized();
            drain();
            drain();  // the swap runs queued and posts the selection's restoring in turn
        }
    }
    void otherProgramCopies(const std::string& text) {
        m_clipboard = text;
        m_recorders.clipboard->setAnsiText(text);
    }
    void chooseMenuItem(int commandId) {
        QAction* item = mainWindow().menuBar()->action(commandId);
        RC_ASSERT(item != nullptr);
        item->trigger();
        drain();
    }

    // ---- the user's record ----
    bool keyboardShows() const {
        return mainShown() && program().appState.PlayMode == context::IDM_SOURCEKEYBOARD;
    }
    QString& typedText() {
        return m_typed[static_cast<std::size_t>(program().appState.Language - 1)];
    }
    // After the user typed or selected: the window's text and selection are the user's.
    void takeUsersWindow() {
        const QPlainTextEdit& input = mainWindow().input();
        typedText() = input.toPlainText();
        m_selection = {input.textCursor().selectionStart(), input.textCursor().selectionEnd()};
        m_selectionLanguage = program().appState.Language;
    }
    // The selection the program gives a text it shows after a language change is its own.
    void takeShownSelection() {
        if (keyboardShows() && m_selectionLanguage != program().appState.Language) {
            const QTextCursor cursor = mainWindow().input().textCursor();
            m_selection = {cursor.selectionStart(), cursor.selectionEnd()};
            m_selectionLanguage = program().appState.Language;
        }
    }
    // What Speak or a generation from the Keyboard source must hand the engine.
    std::string keyboardSource() {
        const QString& text = typedText();
        const auto [start, end] = m_selection;
        return (end > start ? text.mid(start, end - start) : text).toStdString();
    }

    // ---- checks ----
    void fail(const std::string& what) {
        if (m_failure.empty()) {
            m_failure = what;
        }
    }
    void require(bool holds, const std::string& what) {
        if (!holds) {
            fail(what);
        }
    }
    void checkClipboard() {
        const std::optional<std::string> now = m_recorders.clipboard->ansiText();
        if (now == m_clipboard) {
            return;
        }
        const QString selected = mainWindow().input().textCursor().selectedText();
        require(now && !now->empty() && *now == selected.toStdString(),
                "the clipboard changed to \"" + now.value_or("<none>") +
                    "\" without a selection being copied");
        m_clipboard = now;
    }
    void checkTypedTexts() {
        const context::ProgramContext& state = program();
        for (int slot = 0; slot < 2; ++slot) {
            const bool inWindow = slot == state.appState.Language - 1 && keyboardShows();
            const QString kept = inWindow
                                     ? mainWindow().input().toPlainText()
                                     : QString::fromStdString(state.keyboard.keyboardText[slot]);
            require(kept == m_typed[slot], "language " + std::to_string(slot + 1) + " holds \"" +
                                               kept.toStdString() + "\" instead of \"" +
                                               m_typed[slot].toStdString() + "\"");
        }
    }
    void checkIdle() {
        require(program().session.speechState == SpeechState::Idle, "the engine is not idle");
        const ButtonSet& buttons = shownButtons();
        require(buttons.button(ButtonSet::kSpeak).isEnabled() &&
                    !buttons.button(ButtonSet::kStop).isEnabled() &&
                    !buttons.button(ButtonSet::kPause).isEnabled(),
                "idle, but the shown window's buttons have the speaking look");
        require(buttons.button(ButtonSet::kPause).pictureId() == resources::kPauseInactive,
                "idle, but the Pause button shows picture " +
                    std::to_string(buttons.button(ButtonSet::kPause).pictureId()));
        require(QApplication::activeModalWidget() == nullptr, "a modal dialog is still open");
        if (!mainShown()) {
            return;
        }
        const shell::MainWindow& window = mainWindow();
        require(window.about().isEnabled() && window.demo().isEnabled(),
                "idle, but About or Demo is disabled");
        require(
            window.menuBar()->topMenu(0)->menuAction()->isEnabled() && window.volume().isEnabled(),
            "idle, but the menus or sliders are locked");
        if (keyboardShows()) {
            require(window.input().isEnabled() && !window.input().isReadOnly(),
                    "the Keyboard source shows, but the input window takes no typing");
            const QTextCursor cursor = window.input().textCursor();
            require(std::pair(cursor.selectionStart(), cursor.selectionEnd()) == m_selection,
                    "the user's selection moved to " + std::to_string(cursor.selectionStart()) +
                        ".." + std::to_string(cursor.selectionEnd()));
        }
    }
    void checkSpeaking() {
        const SpeechState state = program().session.speechState;
        if (state == SpeechState::Idle) {
            return;
        }
        const ButtonSet& buttons = shownButtons();
        require(!buttons.button(ButtonSet::kSpeak).isEnabled() &&
                    buttons.button(ButtonSet::kStop).isEnabled() &&
                    buttons.button(ButtonSet::kPause).isEnabled(),
                "speaking, but the shown window's buttons have the idle look");
        const int picture =
            state == SpeechState::Paused ? resources::kResume : resources::kPauseActive;
        require(buttons.button(ButtonSet::kPause).pictureId() == picture,
                "the Pause button shows the wrong picture while speaking");
        if (mainShown()) {
            require(!mainWindow().menuBar()->topMenu(0)->menuAction()->isEnabled() &&
                        !mainWindow().volume().isEnabled(),
                    "speaking, but the main window's menus or sliders are unlocked");
        }
    }
    void checkModal(QWidget& dialog) {
        require(dialog.isVisible() && dialog.parentWidget() && dialog.parentWidget()->isVisible(),
                "a modal dialog was hidden with its owner");
    }
    void checkAfterStep() {
        checkIdle();
        checkTypedTexts();
        checkClipboard();
        if (m_insideProperty) {
            RC_ASSERT(m_failure == std::string());
        }
    }

    // What a user can observe a key did; while the menus are locked none of it may change.
    std::string keyEffects() {
        const context::ProgramContext& state = program();
        std::ostringstream effects;
        const auto slot = static_cast<std::size_t>(state.appState.Language - 1);
        effects << state.appState.PlayMode << ' ' << state.appState.Volume[slot] << ' '
                << state.appState.Pitch[slot] << ' ' << m_recorders.help->requests().size() << ' '
                << m_recorders.fileDialogs->requests().size() << ' '
                << m_engine.callsTo("EngineSpeak").size() << ' '
                << QApplication::topLevelWidgets().size();
        return effects.str();
    }

    // ---- inside a speech or a generation ----
    // The text of the engine call in progress.
    std::string requestText() const {
        for (auto call = m_engine.calls().rbegin(); call != m_engine.calls().rend(); ++call) {
            if (call->operation == "EngineSpeak") {
                return std::get<std::string>(call->args[2]);
            }
            if (call->operation == "EngineSpeakToFile") {
                return std::get<std::string>(call->args[1]);
            }
        }
        return {};
    }
    void notify(int32_t code, int32_t value1, int32_t value2) {
        m_engine.callback()(0, code, value1, value2);
        drain();
    }
    // A piece of the request's text arrives: with ShowMessage on the window shows it, its
    // control characters and runs of blanks made one blank, a leading blank dropped.
    void chunk(int length) {
        const bool echoes = program().appState.TextOut == 1;
        const std::string text = requestText();
        const std::string piece = text.substr(std::min(m_echoOffset, text.size()), length);
        m_echoOffset += static_cast<std::size_t>(length);
        notify(SAYMGR_NOTIFY_CHUNK, length, 0);
        std::string shown;
        for (const char c : piece) {
            const char blank = static_cast<unsigned char>(c) < 32 ? ' ' : c;
            if (!(blank == ' ' && (shown.empty() || shown.back() == ' '))) {
                shown += blank;
            }
        }
        if (echoes && mainShown()) {
            const std::string window = mainWindow().input().toPlainText().toStdString();
            require(window == shown,
                    "the echo shows \"" + window + "\" instead of \"" + shown + '"');
        }
    }
    void happen(const Happening& what, bool generating) {
        const int length = std::max(static_cast<int>(requestText().size()), 1);
        switch (what.kind) {
            case Happening::Chunk:
                chunk(1 + what.first % 12);
                break;
            case Happening::Mark:
                notify(SAYMGR_NOTIFY_MARK1, 1 + what.second % 6, what.first % length);
                break;
            case Happening::Pause:
                if (!generating) {
                    click(ButtonSet::kPause);
                }
                break;
            case Happening::Stop:
                if (!generating) {
                    click(ButtonSet::kStop);
                }
                break;
            case Happening::Key:
                if (!generating) {
                    pressLockedKey(kKeys[static_cast<std::size_t>(what.first) % kKeys.size()]);
                }
                break;
            case Happening::Type:
                if (!generating && keyboardShows()) {
                    // Typing the window takes is the user's (beside an about text, say); while
                    // it shows the spoken text it must take none.
                    const QString before = mainWindow().input().toPlainText();
                    typeIntoInput(what.text);
                    if (mainWindow().input().toPlainText() != before) {
                        takeUsersWindow();
                    }
                }
                break;
            case Happening::Minimise:
                if (!generating && mainShown()) {
                    minimise();
                }
                break;
            case Happening::Restore:
                if (!generating) {
                    restore();
                }
                break;
            case Happening::OtherClipboard:
                otherProgramCopies(what.text);
                break;
        }
        if (!generating) {
            checkSpeaking();
        }
    }
    // A key pressed during a speech: with the main window shown its menus are locked, so the
    // key may do nothing at all; a dialog it opens anyway is closed again.
    void pressLockedKey(QKeyCombination key) {
        const bool locked = mainShown() && program().session.speechState != SpeechState::Idle;
        const std::string before = keyEffects();
        bool opened = false;
        const QPointer<QTimer> watcher = whenModalShown([&opened](QDialog& dialog) {
            opened = true;
            dialog.reject();
        });
        pressKey(key);
        delete watcher.data();
        if (locked) {
            require(!opened && keyEffects() == before,
                    "a key acted while the menus were locked: " +
                        QKeySequence(key).toString().toStdString());
        }
    }
    // Plays `during` inside the next engine call, after its first notifications.
    void script(const std::vector<Happening>& during, bool generating) {
        m_echoOffset = 0;
        m_engine.clearSpeakScript();
        m_engine.addNotification(SAYMGR_NOTIFY_START);
        for (const Happening& what : during) {
            m_engine.addAction([this, what, generating] {
                if (m_failure.empty()) {
                    happen(what, generating);
                }
            });
        }
        m_engine.addNotification(SAYMGR_NOTIFY_END);
    }

    std::array<QString, 2> m_typed;
    std::pair<int, int> m_selection{0, 0};
    int m_selectionLanguage = 1;
    std::optional<std::string> m_clipboard;
    context::SpeechObserver::Clock::time_point m_clock{};
    std::size_t m_echoOffset = 0;  // where the next echoed piece starts in the request's text
    std::string m_failure;
    // Inside a property a failed step ends the sequence, so RapidCheck can shrink it; a replayed
    // example runs to its end and reports the first failure.
    bool m_insideProperty = true;
};

using Step = rc::state::Command<Model, UserSequenceTest>;

// Typing into the input window while the Keyboard source shows.
struct TypeText : Step {
    std::string text = *typedWords();
    TypeText() = default;
    explicit TypeText(std::string typed) : text(std::move(typed)) {}
    void run(const Model&, UserSequenceTest& bench) const override {
        if (!bench.keyboardShows() || bench.typedText().size() > 600) {
            return;
        }
        bench.typeIntoInput(text);
        bench.takeUsersWindow();
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override { out << "type \"" << text << '"'; }
};

struct SelectText : Step {
    int from = *anyIn(0, 1000);
    int to = *anyIn(0, 1000);
    SelectText() = default;
    SelectText(int start, int end) : from(start), to(end) {}
    void run(const Model&, UserSequenceTest& bench) const override {
        if (!bench.keyboardShows()) {
            return;
        }
        const int length = static_cast<int>(bench.mainWindow().input().toPlainText().size()) + 1;
        bench.selectInput(from % length, to % length);
        bench.takeUsersWindow();
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override { out << "select " << from << ".." << to; }
};

// Speak (F5 or the button), the about text (F6 or About) or Demo, with things happening inside.
struct SpeakSomething : Step {
    enum Start { SpeakKey, SpeakButton, AboutKey, AboutButton, Demo };
    Start how = static_cast<Start>(*anyIn(0, 5));
    std::vector<Happening> during;
    explicit SpeakSomething(const Model& model) : during(*happenings(model.extended)) {}
    SpeakSomething(Start start, std::vector<Happening> inside)
        : how(start), during(std::move(inside)) {}
    void run(const Model&, UserSequenceTest& bench) const override {
        const bool fromMain = bench.mainShown();
        if (!fromMain && (how == AboutButton || how == Demo)) {
            return;
        }
        const bool keyboard = fromMain && bench.keyboardShows() && how <= SpeakButton;
        const std::string expected = bench.keyboardSource();
        const std::size_t speaks = bench.m_engine.callsTo("EngineSpeak").size();
        bench.script(during, false);
        switch (how) {
            case SpeakKey:
                bench.pressKey(QKeyCombination(Qt::Key_F5));
                break;
            case SpeakButton:
                bench.click(ButtonSet::kSpeak);
                break;
            case AboutKey:
                bench.pressKey(QKeyCombination(Qt::Key_F6));
                break;
            case AboutButton:
                bench.mainWindow().about().click();
                break;
            case Demo:
                bench.mainWindow().demo().click();
                break;
        }
        bench.drain();
        const auto calls = bench.m_engine.callsTo("EngineSpeak");
        if (keyboard && !expected.empty() && calls.size() > speaks) {
            bench.require(std::get<std::string>(calls[speaks].args[2]) == expected,
                          "Speak read \"" + std::get<std::string>(calls[speaks].args[2]) +
                              "\" instead of \"" + expected + '"');
        }
        bench.takeShownSelection();
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override {
        static const std::array<const char*, 5> names{"F5", "Speak button", "F6", "About button",
                                                      "Demo"};
        out << names[how] << " with";
        for (const Happening& what : during) {
            out << ' ' << what;
        }
    }
};

// Function keys and menu items while idle: sources, languages, ShowMessage, Defaults, Open.
struct UseMenu : Step {
    enum Item { FileSource, KeyboardSource, English, German, ShowMessage, Defaults, OpenStory };
    Item item = static_cast<Item>(*anyIn(0, 7));
    void run(const Model&, UserSequenceTest& bench) const override {
        if (!bench.mainShown() && (item == English || item == German || item == ShowMessage)) {
            return;
        }
        switch (item) {
            case FileSource:
                bench.pressKey(QKeyCombination(Qt::Key_F7));
                break;
            case KeyboardSource:
                bench.pressKey(QKeyCombination(Qt::Key_F8));
                break;
            case English:
            case German:
                bench.chooseMenuItem(context::IDM_LANGUAGE1 + (item == English ? 0 : 1));
                break;
            case ShowMessage:
                bench.chooseMenuItem(context::IDM_SHOWMESSAGE);
                break;
            case Defaults:
                bench.pressKey(QKeyCombination(Qt::Key_F2));
                break;
            case OpenStory:
                bench.m_recorders.fileDialogs->queueAnswer(
                    QString::fromStdString((bench.startupDirectory() / "story.txt").string()));
                bench.pressKey(QKeyCombination(Qt::Key_F3));
                break;
        }
        bench.takeShownSelection();
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override {
        static const std::array<const char*, 7> names{"F7",          "F8", "English",     "German",
                                                      "ShowMessage", "F2", "F3 story.txt"};
        out << names[item];
    }
};

struct Minimise : Step {
    explicit Minimise(const Model& model) { RC_PRE(model.extended); }
    Minimise() = default;
    void run(const Model&, UserSequenceTest& bench) const override {
        if (!bench.mainShown()) {
            return;
        }
        bench.minimise();
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override { out << "minimise"; }
};

struct Restore : Step {
    explicit Restore(const Model& model) { RC_PRE(model.extended); }
    Restore() = default;
    void run(const Model&, UserSequenceTest& bench) const override {
        if (bench.mainShown()) {
            return;
        }
        bench.restore();
        bench.takeShownSelection();
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override { out << "restore"; }
};

// A sound file from the GenFile menu, with notifications arriving while it is written.
struct GenerateFile : Step {
    int format = *anyIn(context::IDM_GEN16LINEAR, context::IDM_GEN8WAVE + 1);
    std::vector<Happening> during;
    explicit GenerateFile(const Model& model) : during(*happenings(model.extended)) {
        RC_PRE(model.extended);
    }
    explicit GenerateFile(std::vector<Happening> inside)
        : format(context::IDM_GEN16WAVE), during(std::move(inside)) {}
    void run(const Model&, UserSequenceTest& bench) const override {
        if (!bench.mainShown()) {
            return;
        }
        const context::AppState& state = bench.program().appState;
        std::optional<std::string> expected;
        if (state.PlayMode == context::IDM_SOURCEKEYBOARD) {
            expected = bench.keyboardSource();
        } else if (state.PlayMode == context::IDM_SOURCEFILE && !state.textFilePath.empty()) {
            expected = kStoryText;
        }
        const std::size_t before = bench.m_engine.callsTo("EngineSpeakToFile").size();
        bench.script(during, true);
        bench.m_recorders.fileDialogs->queueAnswer(
            QString::fromStdString((bench.startupDirectory() / "out.wav").string()));
        bench.chooseMenuItem(format);
        const auto calls = bench.m_engine.callsTo("EngineSpeakToFile");
        if (expected && !expected->empty()) {
            const std::string written =
                calls.size() > before ? std::get<std::string>(calls[before].args[1]) : "<none>";
            bench.require(written == *expected,
                          "GenFile wrote \"" + written + "\" instead of \"" + *expected + '"');
        }
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override {
        out << "GenFile " << format << " with";
        for (const Happening& what : during) {
            out << ' ' << what;
        }
    }
};

// F9 opens the About box; the user minimises, restores or copies elsewhere, then closes it.
struct AboutBox : Step {
    std::vector<Happening> during;
    explicit AboutBox(const Model& model) : during(*happenings(model.extended)) {}
    explicit AboutBox(std::vector<Happening> inside) : during(std::move(inside)) {}
    void run(const Model&, UserSequenceTest& bench) const override {
        if (!bench.mainShown()) {
            return;
        }
        bench.whenModalShown([&bench, this](QDialog& dialog) {
            for (const Happening& what : during) {
                if (what.kind == Happening::Minimise && bench.mainShown()) {
                    bench.minimise();
                } else if (what.kind == Happening::Restore) {
                    bench.restore();
                } else if (what.kind == Happening::OtherClipboard) {
                    bench.otherProgramCopies(what.text);
                }
                bench.checkModal(dialog);
            }
            dialog.reject();
        });
        bench.pressKey(QKeyCombination(Qt::Key_F9));
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override {
        out << "F9 with";
        for (const Happening& what : during) {
            out << ' ' << what;
        }
    }
};

struct OtherProgramCopies : Step {
    std::string text = *typedWords();
    void run(const Model&, UserSequenceTest& bench) const override {
        bench.otherProgramCopies(text);
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override {
        out << "another program copies \"" << text << '"';
    }
};

// A notification that arrives while nothing is spoken.
struct StrayNotification : Step {
    int code = *anyIn(SAYMGR_NOTIFY_START, SAYMGR_NOTIFY_MARK2 + 1);
    int value = *anyIn(0, 20);
    void run(const Model&, UserSequenceTest& bench) const override {
        bench.notify(code, value, value / 2);
        bench.checkAfterStep();
    }
    void show(std::ostream& out) const override { out << "notification " << code << ' ' << value; }
};

RC_GTEST_FIXTURE_PROP(UserSequenceTest, TheUsersTextSelectionAndClipboardSurviveEverySequence, ()) {
    Model model;
    model.extended = *rc::gen::arbitrary<bool>();
    startProgram(model.extended);
    rc::state::check(
        model, static_cast<UserSequenceTest&>(*this),
        rc::state::gen::execOneOfWithArgs<TypeText, SelectText, SpeakSomething, UseMenu, Minimise,
                                          Restore, GenerateFile, AboutBox, OtherProgramCopies,
                                          StrayNotification>());
}

// Short sequences that once lost the user's data or left a window stuck, replayed as they are.
class UserSequenceExample : public UserSequenceTest {
  protected:
    using Steps = std::vector<std::shared_ptr<const Step>>;

    void replay(bool extended, const Steps& steps) {
        m_insideProperty = false;
        startProgram(extended);
        const Model model{extended};
        for (const auto& step : steps) {
            step->run(model, *this);
            std::ostringstream shown;
            step->show(shown);
            ASSERT_EQ(m_failure, "") << "after " << shown.str();
        }
    }
    static Happening chunk() { return {Happening::Chunk, 4, 0, {}}; }
    static Happening mark() { return {Happening::Mark, 1, 2, {}}; }
    static Happening key(int index) { return {Happening::Key, index, 0, {}}; }
    static Happening simply(Happening::Kind kind) { return {kind, 0, 0, {}}; }
    template <class Command, class... Args>
    static std::shared_ptr<const Step> step(Args&&... args) {
        return std::make_shared<const Command>(std::forward<Args>(args)...);
    }
};

constexpr int kF8 = 7;

TEST_F(UserSequenceExample, SpeakingTheTypedTextLeavesAnotherProgramsClipboardAlone) {
    replay(false, {step<TypeText>("hello there"),
                   step<SpeakSomething>(SpeakSomething::SpeakKey, std::vector{chunk()})});
}

TEST_F(UserSequenceExample, KeysOfLockedMenusDoNothingWhileTheTypedTextIsSpoken) {
    replay(false, {step<TypeText>("first sentence second"),
                   step<SpeakSomething>(SpeakSomething::SpeakKey,
                                        std::vector{chunk(), key(kF8), key(0), key(2)})});
}

TEST_F(UserSequenceExample, ASecondGenerationWritesTheWholeTextAgain) {
    replay(true, {step<TypeText>("write all of this"), step<GenerateFile>(std::vector{mark()}),
                  step<GenerateFile>(std::vector<Happening>{})});
}

TEST_F(UserSequenceExample, TheAboutTextsMarksLeaveTheSelectionAlone) {
    replay(false, {step<TypeText>("keep this"), step<SelectText>(0, 4),
                   step<SpeakSomething>(SpeakSomething::AboutKey, std::vector{mark(), mark()}),
                   step<SpeakSomething>(SpeakSomething::SpeakKey, std::vector<Happening>{})});
}

TEST_F(UserSequenceExample, TheInputWindowTakesTypingAfterThePanelsSpeech) {
    replay(true, {step<TypeText>("typed"), step<Minimise>(),
                  step<SpeakSomething>(SpeakSomething::SpeakButton, std::vector<Happening>{}),
                  step<Restore>(), step<TypeText>(" more")});
}

TEST_F(UserSequenceExample, ThePanelsSpeechEndsInTheIdleLookOfTheRestoredWindow) {
    replay(true, {step<Minimise>(),
                  step<SpeakSomething>(SpeakSomething::SpeakButton,
                                       std::vector{simply(Happening::Restore), chunk()})});
}

TEST_F(UserSequenceExample, MinimisingBehindTheAboutBoxKeepsTheBoxWithItsWindow) {
    replay(true, {step<AboutBox>(std::vector{simply(Happening::Minimise)})});
}

TEST_F(UserSequenceExample, PausingTheAboutTextLeavesNoResumePictureBehind) {
    replay(false,
           {step<TypeText>("text"),
            step<SpeakSomething>(SpeakSomething::AboutKey,
                                 std::vector{simply(Happening::Pause), simply(Happening::Stop)}),
            step<SpeakSomething>(SpeakSomething::SpeakKey, std::vector{chunk()})});
}

TEST_F(UserSequenceExample, AGenerationEchoesFromTheStartOfItsText) {
    replay(true, {step<TypeText>("an echo from the start"),
                  step<SpeakSomething>(SpeakSomething::SpeakKey, std::vector{chunk(), chunk()}),
                  step<GenerateFile>(std::vector{chunk(), chunk()})});
}

}  // namespace
}  // namespace shelltest
