#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "fakeengine/fakeengine.h"
#include "mainwindow.h"
#include "shell/program.h"
#include "testsupport/recordingservices.h"

namespace shelltest {

// Two engine languages, English (slot 1) and German (slot 2), with their settings entries.
// Voice values differ per language so a test can tell which one is current.
std::string twoLanguageSettings(int language = 2, int playMode = 137, int frequency = 11);

// A program in a fresh start-up directory, with the fake engine and recording services. The
// test's current directory is the start-up directory while the fixture lives.
class ShellFixture : public ::testing::Test {
  protected:
    ShellFixture();
    ~ShellFixture() override;

    void writeSettings(const std::string& text);
    void writeUserProfile(const std::string& text);
    std::string readFile(const std::filesystem::path& path) const;
    std::filesystem::path startupDirectory() const;
    std::filesystem::path settingsPath() const { return startupDirectory() / "SAYBENCH.INI"; }
    std::filesystem::path userProfilePath() const { return startupDirectory() / "user.ini"; }

    // Builds the program and runs its start-up with `commandLine`.
    std::optional<int> start(const std::string& commandLine = {});
    // Starts normally with the two-language settings; fails the test when start-up fails.
    void startTwoLanguages(const std::string& commandLine = {});
    shell::MainWindow& mainWindow() const { return *m_program->mainWindow(); }
    context::ProgramContext& program() const { return m_program->context(); }
    // Selects characters [start, end) of the input window, as a user's drag would.
    void selectInput(int start, int end);
    // Delivers a command to `window` (the main window by default) as the menus do.
    void command(int commandId, QWidget* window = nullptr);
    // Handles every posted event, including deferred deletes.
    static void drain();
    // Runs `step` from inside the next modal dialog's own loop once that dialog is shown (over
    // any dialog open now); the step ends the dialog. Deleting the returned watcher cancels it.
    static QPointer<QTimer> whenModalShown(std::function<void(QDialog&)> step);

    QTemporaryDir m_directory;
    std::filesystem::path m_previousDirectory;
    testsupport::FakeEngine m_engine;
    // The engine's monitoring extensions the program gets (none unless a test sets them).
    const binding::EngineExtensions* m_extensions = nullptr;
    testsupport::RecordingServices m_recorders;
    std::unique_ptr<shell::Program> m_program;
};

}  // namespace shelltest
