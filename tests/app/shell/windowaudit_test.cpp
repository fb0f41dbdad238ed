#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include "benchmonitor/monitorwindow.h"
#include "context/commandids.h"
#include "dictionaries/unloaddictionariesdialog.h"
#include "shellfixture.h"
#include "windowaudit.h"
#include "windowprocedure.h"

namespace shelltest {
namespace {

using context::CommandId;

// What a dialog does with a key pressed where its focus is.
enum class OnKey { Closes, Stays, NotTried };

// A dialog of the program: how the user opens it and what Escape and Return must do there.
struct DialogCase {
    QString name;
    std::function<void(std::function<void(QDialog&)>)> open;
    OnKey escape;
    OnKey enter;
};

// Every window and dialog the user can open, audited in the extended mode, which has them all.
class WindowAuditTest : public ShellFixture {
  protected:
    void startExtended() {
        m_extensions = &testsupport::FakeEngine::extensions();
        // As long as the real engine's texts.
        m_engine.setManufacturerInfo("Quenvar Voxtrial speech engine (libsaymgr)",
                                     "Uses eSpeak NG, GPL-3.0-or-later");
        writeSettings(twoLanguageSettings(1, context::IDM_SOURCEKEYBOARD));
        ASSERT_EQ(start("SAYRUN"), std::nullopt);
        // Real message boxes, so that they are audited too.
        program().services.messages = platform::makeDesktopServices(".").messages;
    }

    // Opens `dialog` once per key: audits it the first time, presses the key and records
    // whether the dialog closed. Returns the findings and the keys' outcomes.
    QStringList audit(const DialogCase& dialog) {
        QStringList findings;
        bool audited = false;
        for (const auto& [key, expected] :
             {std::pair{Qt::Key_Escape, dialog.escape}, std::pair{Qt::Key_Return, dialog.enter}}) {
            if (expected == OnKey::NotTried) {
                continue;
            }
            std::optional<OnKey> outcome;
            dialog.open([&, key = key](QDialog& shown) {
                if (!audited) {
                    findings << WindowAudit(shown, dialog.name).findings();
                    audited = true;
                }
                QTest::keyClick(shown.windowHandle(), key);
                drain();
                outcome = shown.isVisible() ? OnKey::Stays : OnKey::Closes;
                if (shown.isVisible()) {
                    shown.done(QDialog::Rejected);
                }
            });
            drain();
            if (outcome != expected) {
                findings << QStringLiteral("%1: %2 %3")
                                .arg(dialog.name, QTest::toString(key),
                                     outcome == OnKey::Closes  ? QStringLiteral("closes it")
                                     : outcome == OnKey::Stays ? QStringLiteral("leaves it open")
                                                               : QStringLiteral("found no dialog"));
            }
        }
        return findings;
    }

    std::function<void(std::function<void(QDialog&)>)> byCommand(CommandId id) {
        return [this, id](std::function<void(QDialog&)> step) {
            whenModalShown(std::move(step));
            command(id);
        };
    }

    // Opens a credits dialog from the About box with its hidden key combination.
    std::function<void(std::function<void(QDialog&)>)> credits(Qt::Key key) {
        return [this, key](std::function<void(QDialog&)> step) {
            whenModalShown([key, step = std::move(step)](QDialog& about) {
                whenModalShown(step);
                QTest::keyClick(about.windowHandle(), key, Qt::ControlModifier | Qt::AltModifier);
                about.reject();
            });
            command(context::IDM_ABOUT);
        };
    }

    std::vector<DialogCase> dialogs() {
        return {
            {QStringLiteral("About"), byCommand(context::IDM_ABOUT), OnKey::Closes, OnKey::Closes},
            {QStringLiteral("Group picture"), credits(Qt::Key_Insert), OnKey::Stays,
             OnKey::NotTried},
            {QStringLiteral("Supporting group"), credits(Qt::Key_End), OnKey::Closes,
             OnKey::Closes},
            {QStringLiteral("Engine information"), byCommand(context::IDM_ABOUTENGINE),
             OnKey::Closes, OnKey::Closes},
            {QStringLiteral("Acceleration rules"), byCommand(context::IDM_SETACCEL), OnKey::Closes,
             OnKey::Closes},
            {QStringLiteral("System Mode sheet"), systemModeSheet(0), OnKey::Closes, OnKey::Closes},
            {QStringLiteral("System Mode sheet page 2"), systemModeSheet(1), OnKey::Closes,
             OnKey::Closes},
            {QStringLiteral("Load dictionary"), loadDictionary(), OnKey::Closes, OnKey::NotTried},
            {QStringLiteral("Unload dictionaries"), unloadDictionaries(), OnKey::Closes,
             OnKey::Closes},
            {QStringLiteral("Generation progress"), generation(), OnKey::Closes, OnKey::Closes},
            {QStringLiteral("Message box"), speakingNothing(), OnKey::Closes, OnKey::Closes},
            {QStringLiteral("Question box"), byCommand(context::IDM_EXIT), OnKey::Closes,
             OnKey::NotTried},
        };
    }

    std::function<void(std::function<void(QDialog&)>)> systemModeSheet(int page) {
        return [this, page](std::function<void(QDialog&)> step) {
            whenModalShown([page, step = std::move(step)](QDialog& sheet) {
                sheet.findChild<QTabWidget*>()->setCurrentIndex(page);
                step(sheet);
            });
            command(context::IDM_SYSTEMMODE);
        };
    }

    // The real file dialog, in place of the scripted one for this command.
    std::function<void(std::function<void(QDialog&)>)> loadDictionary() {
        return [this](std::function<void(QDialog&)> step) {
            auto scripted = std::exchange(program().services.fileDialogs,
                                          platform::makeDesktopServices(".").fileDialogs);
            whenModalShown(std::move(step));
            command(context::IDM_LOADDICT);
            program().services.fileDialogs = std::move(scripted);
        };
    }

    std::function<void(std::function<void(QDialog&)>)> unloadDictionaries() {
        return [this](std::function<void(QDialog&)> step) {
            whenModalShown(std::move(step));
            dictionaries::UnloadDictionariesDialog(program(), &mainWindow()).exec();
        };
    }

    // Speaking an empty input window is reported in a message box.
    std::function<void(std::function<void(QDialog&)>)> speakingNothing() {
        return [this](std::function<void(QDialog&)> step) {
            mainWindow().input().clear();
            whenModalShown(std::move(step));
            command(context::IDC_SPEAK);
        };
    }

    // The progress dialog shows while the engine writes the file.
    std::function<void(std::function<void(QDialog&)>)> generation() {
        return [this](std::function<void(QDialog&)> step) {
            m_engine.addAction([step = std::move(step)] {
                step(*qobject_cast<QDialog*>(QApplication::activeModalWidget()));
            });
            mainWindow().input().setPlainText(QStringLiteral("Hello."));
            m_recorders.fileDialogs->queueAnswer(
                QString::fromStdString((startupDirectory() / "audit.wav").string()));
            command(context::IDM_GEN16WAVE);
        };
    }
};

TEST_F(WindowAuditTest, EveryDialogIsReadableKeyboardCompleteNamedAndOnScreen) {
    startExtended();
    QStringList findings;
    for (const DialogCase& dialog : dialogs()) {
        findings << audit(dialog);
    }
    EXPECT_EQ(findings.join('\n').toStdString(), "");
}

TEST_F(WindowAuditTest, EveryWindowIsReadableKeyboardCompleteNamedAndOnScreen) {
    startExtended();
    mainWindow().input().setPlainText(QStringLiteral("Hello."));
    QStringList findings = WindowAudit(mainWindow(), QStringLiteral("Main window")).findings();

    command(context::IDM_BENCHMONITOR);
    drain();
    QWidget* monitor = m_program->procedure().benchMonitor();
    ASSERT_NE(monitor, nullptr);
    findings << WindowAudit(*monitor, QStringLiteral("Bench monitor")).findings();
    monitor->close();

    mainWindow().showMinimized();
    drain();
    ASSERT_TRUE(m_program->miniPanel()->isVisible());
    findings << WindowAudit(*m_program->miniPanel(), QStringLiteral("Mini panel")).findings();
    EXPECT_EQ(findings.join('\n').toStdString(), "");
}

TEST_F(WindowAuditTest, TheNormalModeMainWindowToo) {
    startTwoLanguages();
    EXPECT_EQ(WindowAudit(mainWindow(), QStringLiteral("Main window normal mode"))
                  .findings()
                  .join('\n')
                  .toStdString(),
              "");
}

}  // namespace
}  // namespace shelltest
