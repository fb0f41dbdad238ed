// The dictionary commands with the real engine: a text dictionary goes through the engine's
// compilation and changes what the engine says; a compiled one loads again, and unloading it
// brings the old pronunciation back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>

#include "binding/enginelibrary.h"
#include "context/commandids.h"
#include "mainwindow.h"
#include "platform/postedmessage.h"
#include "resources/dialogtemplates.h"
#include "shell/program.h"
#include "testsupport/recordingservices.h"
#include "testsupport/temporaryfolder.h"

namespace dictionarytest {
namespace {

constexpr int32_t kRawLinear16 = 0;
constexpr int32_t kAnsiText = 1;

// The program in a start-up directory holding the shipped settings, with the real engine; the
// test's current directory is the start-up directory while it lives.
class RealEngineProgram {
  public:
    RealEngineProgram() : m_previousDirectory(std::filesystem::current_path()) {
        std::filesystem::copy_file(std::filesystem::path(VOXTRIAL_RUNTIME_DIR) / "SAYBENCH.INI",
                                   m_folder.path() / "SAYBENCH.INI");
        std::filesystem::current_path(m_folder.path());
        shell::ProgramOptions options;
        options.engine = &m_library.ops();
        options.services = std::move(m_recorders.services);
        options.userProfile = m_folder.path() / "user.ini";
        m_program = std::make_unique<shell::Program>(std::move(options));
    }
    ~RealEngineProgram() {
        const context::ProgramContext& program = m_program->context();
        program.session.engine->EngineClose(program.session.engineInstance);
        m_program.reset();
        std::filesystem::current_path(m_previousDirectory);
    }

    bool start() { return m_library.isLoaded() && !m_program->start({}).has_value(); }
    const std::filesystem::path& folder() const { return m_folder.path(); }
    testsupport::RecordingServices& recorders() { return m_recorders; }

    void loadDictionary(const std::filesystem::path& path) {
        m_recorders.fileDialogs->queueAnswer(QString::fromStdString(path.string()));
        platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                              context::IDM_LOADDICT);
    }

    // Compiles a text dictionary with the engine, as the program's binary copy does.
    int32_t compile(const std::filesystem::path& text, const std::filesystem::path& binary) {
        const context::ProgramContext& program = m_program->context();
        return program.session.engine->EngineCompileDictionary(
            program.session.engineInstance, text.c_str(), kAnsiText, binary.c_str());
    }

    // The Unload command, moving every loaded dictionary to the unload list and pressing OK.
    void unloadAll() {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* loaded =
                static_cast<QListWidget*>(platform::findItem(*dialog, resources::kLoadedList));
            loaded->selectAll();
            static_cast<QPushButton*>(platform::findItem(*dialog, resources::kUnloadButton))
                ->click();
            static_cast<QPushButton*>(platform::findItem(*dialog, 1))->click();
        });
        platform::sendMessage(m_program->mainWindow(), platform::kCommandEventType,
                              context::IDM_UNLOADDICT);
    }

    // The bytes of 16-bit samples the engine writes for `text`.
    int32_t spokenBytes(const std::string& text) {
        const context::ProgramContext& program = m_program->context();
        const std::string path = (m_folder.path() / "spoken.raw").string();
        int32_t bytes = 0;
        const int32_t status = program.session.engine->EngineSpeakToFile(
            program.session.engineInstance, text.c_str(), static_cast<int32_t>(text.size()),
            path.c_str(), kRawLinear16, kAnsiText, 0, &bytes);
        EXPECT_EQ(status, 0);
        return bytes;
    }

  private:
    testsupport::TemporaryFolder m_folder;
    std::filesystem::path m_previousDirectory;
    binding::EngineLibrary m_library;
    testsupport::RecordingServices m_recorders = testsupport::makeRecordingServices();
    std::unique_ptr<shell::Program> m_program;
};

TEST(RealEngineDictionary, ATextDictionaryLoadedByTheCommandChangesWhatTheEngineSays) {
    RealEngineProgram program;
    ASSERT_TRUE(program.start());
    const std::filesystem::path dictionary = program.folder() / "words.dct";
    writeText(dictionary, "Qx   one two three four five six seven eight nine ten\n");
    const std::string text = "Qx.";
    const int32_t plain = program.spokenBytes(text);

    program.loadDictionary(dictionary);
    EXPECT_TRUE(program.recorders().messages->log().empty());
    const int32_t replaced = program.spokenBytes(text);

    EXPECT_GT(plain, 0);
    EXPECT_GT(replaced, 3 * plain);
    for (const auto& entry : std::filesystem::directory_iterator(program.folder()))
        EXPECT_NE(entry.path().filename().string().front(), '~') << entry.path();
}

TEST(RealEngineDictionary, ACompiledDictionaryLoadsAgainAndUnloadingBringsTheOldSpeechBack) {
    RealEngineProgram program;
    ASSERT_TRUE(program.start());
    const std::filesystem::path text = program.folder() / "words.dct";
    const std::filesystem::path binary = program.folder() / "words.dcb";
    writeText(text, "Qx   one two three four five six seven eight nine ten\n");
    ASSERT_EQ(program.compile(text, binary), 0);
    const int32_t plain = program.spokenBytes("Qx.");

    program.loadDictionary(binary);
    const int32_t replaced = program.spokenBytes("Qx.");
    program.unloadAll();
    const int32_t afterUnload = program.spokenBytes("Qx.");

    EXPECT_TRUE(program.recorders().messages->log().empty());
    EXPECT_GT(replaced, 3 * plain);
    // The same speech again; synthesis may differ by a sample from one run to the next.
    EXPECT_NEAR(afterUnload, plain, plain / 100);
}

}  // namespace
}  // namespace dictionarytest
