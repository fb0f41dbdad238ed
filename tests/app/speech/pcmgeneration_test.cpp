#include <gtest/gtest.h>
#include <sndfile.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <fstream>

#include "binding/enginelibrary.h"
#include "context/commandids.h"
#include "platform/postedmessage.h"
#include "shellfixture.h"

namespace speechtest {
namespace {

using testsupport::EngineArg;
using testsupport::EngineCall;
using testsupport::FileDialogRequest;
using Args = std::vector<EngineArg>;

// What a save dialog was asked to show.
struct SaveRequest {
    QString title;
    QString proposed;
    QString filter;
    bool operator==(const SaveRequest&) const = default;
};

void PrintTo(const SaveRequest& request, std::ostream* out) {
    *out << request.title.toStdString() << " | " << request.proposed.toStdString() << " | "
         << request.filter.toStdString();
}

class PcmGenerationTest : public shelltest::ShellFixture {
  protected:
    void startExtended(const std::string& keyboardText) {
        writeSettings(shelltest::twoLanguageSettings(1, context::IDM_SOURCEKEYBOARD));
        ASSERT_EQ(start("SAYRUN"), std::nullopt);
        mainWindow().input().setPlainText(QString::fromStdString(keyboardText));
        m_engine.clearCalls();
    }
    std::string outputPath(const std::string& name) const {
        return (startupDirectory() / name).string();
    }
    void generate(int commandId, const std::optional<std::string>& path) {
        m_recorders.fileDialogs->queueAnswer(
            path ? std::optional<QString>(QString::fromStdString(*path)) : std::nullopt);
        command(commandId);
    }
    std::vector<SaveRequest> saveRequests() const {
        std::vector<SaveRequest> requests;
        for (const FileDialogRequest& request : m_recorders.fileDialogs->requests()) {
            requests.push_back({request.title, request.directory, request.filter});
        }
        return requests;
    }
    static QString proposed(const char* name) { return QDir::current().filePath(name); }
};

TEST_F(PcmGenerationTest, EachFormatProposesItsNameAndReachesTheEngineWithItsCode) {
    startExtended("say *this");
    generate(context::IDM_GEN8WAVE, outputPath("mine.wav"));
    generate(context::IDM_GEN16WAVE, outputPath("mine.wav"));
    generate(context::IDM_GENMULAW, std::nullopt);

    const std::vector<SaveRequest> expected{
        {"Generate 8 bit Wave File", proposed("sample8.wav"),
         "Wave Format (*.wav);;all Files (*.*)"},
        {"Generate 16 bit Wave File", proposed("sample16.wav"),
         "Wave Format (*.wav);;all Files (*.*)"},
        {"Generate Mu-Law PCM File", proposed("SampleMu.pcm"),
         "Mu-Law PCM (*.pcm);;all Files (*.*)"},
    };
    EXPECT_EQ(saveRequests(), expected);
    const std::string path = outputPath("mine.wav");
    const std::vector<EngineCall> calls{
        {"EngineSpeakToFile", Args{1, "say \x1Bthis", 9, path, 3, 1, 0}},
        {"EngineSpeakToFile", Args{1, "say \x1Bthis", 9, path, 4, 1, 0}},
    };
    EXPECT_EQ(m_engine.calls(), calls);  // no voice values, nothing else
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PcmGenerationTest, CancelStopsTheEngineOnceAndClosesTheDialog) {
    startExtended("a long text");
    m_engine.addAction([] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Generating PCM Data File");
        dialog->reject();
    });
    generate(context::IDM_GEN16LINEAR, outputPath("out.lin"));

    EXPECT_EQ(m_engine.operations(), (std::vector<std::string>{"EngineSpeakToFile", "EngineStop"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(m_recorders.messages->boxes().empty());
}

TEST_F(PcmGenerationTest, AFailingSourceIsReportedWithoutOwnerAndTheDialogStillCloses) {
    startExtended("");
    generate(context::IDM_GENALAW, outputPath("out.pcm"));
    program().appState.PlayMode = context::IDM_SOURCEFILE;
    program().appState.textFilePath.clear();
    generate(context::IDM_GENALAW, outputPath("out.pcm"));

    EXPECT_TRUE(m_engine.calls().empty());
    const auto boxes = m_recorders.messages->boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "No data found in keyboard input window!");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[1].text, "No file has been selected!");
    EXPECT_EQ(boxes[1].owner, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The real engine behind the program: the file it writes is a real sound file.
TEST(PcmGenerationWithTheEngine, A16BitWaveAt11kHzIsAValidSoundFile) {
    const binding::EngineLibrary library(binding::EngineLibrary::besideExecutable("libsaymgr.so"));
    ASSERT_TRUE(library.isLoaded()) << library.loadError();
    QTemporaryDir folder;
    const std::filesystem::path previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder.path().toStdString());
    std::ofstream("SAYBENCH.INI") << shelltest::twoLanguageSettings(1, context::IDM_SOURCEKEYBOARD,
                                                                    11);
    testsupport::RecordingServices recorders = testsupport::makeRecordingServices();
    shell::ProgramOptions options;
    options.engine = &library.ops();
    options.services = std::move(recorders.services);
    options.userProfile = folder.filePath("user.ini").toStdString();
    shell::Program program(std::move(options));
    ASSERT_EQ(program.start("SAYRUN"), std::nullopt);
    program.mainWindow()->input().setPlainText("The quick brown fox jumps over the lazy dog.");
    const std::string path = folder.filePath("fox.wav").toStdString();
    recorders.fileDialogs->queueAnswer(QString::fromStdString(path));
    platform::sendMessage(program.mainWindow(), platform::kCommandEventType,
                          context::IDM_GEN16WAVE);

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_close(file);
    EXPECT_EQ(info.samplerate, 11025);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_GT(info.frames, 11025);  // more than a second of speech
    EXPECT_TRUE(recorders.messages->boxes().empty());
    std::filesystem::current_path(previousFolder);
}

}  // namespace
}  // namespace speechtest
