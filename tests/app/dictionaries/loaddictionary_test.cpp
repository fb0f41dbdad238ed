#include <gtest/gtest.h>

#include <tuple>

#include "context/commandids.h"
#include "dictionaryfixture.h"
#include "engine/errorreport.h"

namespace dictionarytest {
namespace {

using platform::MessageResult;
using testsupport::EngineArg;
using testsupport::EngineCall;
using testsupport::FileDialogRequest;
using Args = std::vector<EngineArg>;
using Calls = std::vector<EngineCall>;
using Lines = std::vector<std::string>;

constexpr int kGerman = 2;
constexpr int kEnglish = 1;

const std::string kReplaceQuestion =
    "box main Load Dictionary Question YesNo: The selected dictionary has already been "
    "loaded!\n Do you want to replace it with the newly selected dictionary?";

EngineCall loadCall(const std::string& path) {
    return {"EngineLoadDictionary", Args{1, path}};
}

EngineCall compileCall(const std::string& source, const std::string& binary) {
    return {"EngineCompileDictionary", Args{1, source, 1, binary}};
}

std::string errorBox(const std::string& owner, int32_t status) {
    return "box " + owner + " Error Information Ok: " + engine::errorText(status).toStdString();
}

// The parts of a file dialog request a user sees.
using DialogLook = std::tuple<FileDialogRequest::Kind, QString, QString, QString>;

DialogLook lookOf(const FileDialogRequest& request) {
    return {request.kind, request.title, request.directory, request.filter};
}

class LoadDictionaryTest : public DictionaryFixture {};

TEST_F(LoadDictionaryTest, ABinaryDictionaryLoadsWithOneCallAndTheDialogKeepsTheChosenName) {
    startProgram();
    load("/dictionaries/names.dcb");
    load("/dictionaries/places.dcb");

    EXPECT_EQ(m_engine.calls(),
              (Calls{loadCall("/dictionaries/names.dcb"), loadCall("/dictionaries/places.dcb")}));
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{0, "/dictionaries/names.dcb", kGerman, 1},
                                              {1, "/dictionaries/places.dcb", kGerman, 2}}));
    EXPECT_TRUE(messageLog().empty());
    EXPECT_TRUE(temporaryFiles().empty());
    const QString filter = "User Dictionary Files (*.dct);;all Files (*.*)";
    const std::vector<FileDialogRequest>& requests = m_recorders.fileDialogs->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(lookOf(requests[0]),
              DialogLook(FileDialogRequest::Kind::Open, "Load a User Dictionary File", "", filter));
    EXPECT_EQ(lookOf(requests[1]),
              DialogLook(FileDialogRequest::Kind::Open, "Load a User Dictionary File",
                         "/dictionaries/names.dcb", filter));
    EXPECT_EQ(requests[1].owner, &mainWindow());
    EXPECT_EQ(program().commonFileName, "/dictionaries/places.dcb");
}

TEST_F(LoadDictionaryTest, ACancelledDialogChangesNothing) {
    startProgram();
    const context::AppState before = program().appState;
    command(context::IDM_LOADDICT);
    EXPECT_TRUE(m_engine.calls().empty());
    EXPECT_EQ(program().appState, before);
}

TEST_F(LoadDictionaryTest, ATextDictionaryIsLoadedFromATemporaryCompilationThatIsThenDeleted) {
    startProgram();
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_FORMAT);
    load("/dictionaries/names.dct");
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_FORMAT);
    load("/dictionaries/places.dct");

    const std::string first = temporaryPath(0).string();
    const std::string second = temporaryPath(1).string();
    EXPECT_EQ(first.substr(first.size() - 12),
              std::string("~").append(std::to_string(::getpid() + 1000000)).append(".100"));
    EXPECT_EQ(
        m_engine.calls(),
        (Calls{loadCall("/dictionaries/names.dct"), compileCall("/dictionaries/names.dct", first),
               loadCall(first), loadCall("/dictionaries/places.dct"),
               compileCall("/dictionaries/places.dct", second), loadCall(second)}));
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{0, "/dictionaries/names.dct", kGerman, 1},
                                              {1, "/dictionaries/places.dct", kGerman, 2}}));
    EXPECT_TRUE(temporaryFiles().empty());
    EXPECT_TRUE(messageLog().empty());
}

TEST_F(LoadDictionaryTest, FailuresAreReportedUseNoSlotAndLeaveNoTemporaryFile) {
    startProgram();
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EFILE_NOT_FOUND);
    load("/dictionaries/gone.dcb");
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_FORMAT);
    m_engine.queueStatus("EngineCompileDictionary", SAYMGR_EPHONETIC);
    load("/dictionaries/bad.dct");
    // The compilation writes the temporary file, and the engine refuses to load it.
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_FORMAT);
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_LOAD);
    load("/dictionaries/damaged.dct");

    EXPECT_EQ(messageLog(), (Lines{"beep Information", errorBox("none", SAYMGR_EFILE_NOT_FOUND),
                                   "beep Information", errorBox("main", SAYMGR_EPHONETIC),
                                   "beep Information", errorBox("main", SAYMGR_EDICT_LOAD)}));
    EXPECT_EQ(m_engine.callsTo("EngineLoadDictionary").back(), loadCall(temporaryPath(1).string()));
    EXPECT_TRUE(usedSlots().empty());
    EXPECT_TRUE(temporaryFiles().empty());
    load("/dictionaries/good.dcb");
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{0, "/dictionaries/good.dcb", kGerman, 1}}));
}

TEST_F(LoadDictionaryTest, NoKeepsTheLoadedCopyAndPathsDifferingInCaseAreDifferentFiles) {
    startProgram();
    load("/dictionaries/names.dcb");
    m_engine.clearCalls();
    m_recorders.messages->queueAnswer(MessageResult::No);
    load("/dictionaries/names.dcb");
    EXPECT_EQ(messageLog(), (Lines{"beep Question", kReplaceQuestion}));
    EXPECT_TRUE(m_engine.calls().empty());

    load("/dictionaries/NAMES.dcb");
    EXPECT_EQ(messageLog().size(), 2u) << "no second question";
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{0, "/dictionaries/names.dcb", kGerman, 1},
                                              {1, "/dictionaries/NAMES.dcb", kGerman, 2}}));
}

TEST_F(LoadDictionaryTest, YesUnloadsTheOldCopyEvenWhenRefusedAndLoadsIntoTheFreeSlotFoundFirst) {
    startProgram();
    load("/dictionaries/names.dcb");
    load("/dictionaries/places.dcb");
    m_engine.clearCalls();
    m_engine.queueStatus("EngineUnloadDictionary", SAYMGR_EDICT_HANDLE);
    load("/dictionaries/names.dcb");

    EXPECT_EQ(messageLog(), (Lines{"beep Question", kReplaceQuestion, "beep Information",
                                   errorBox("main", SAYMGR_EDICT_HANDLE)}));
    EXPECT_EQ(m_engine.calls(),
              (Calls{{"EngineUnloadDictionary", Args{1, 1}}, loadCall("/dictionaries/names.dcb")}));
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{1, "/dictionaries/places.dcb", kGerman, 2},
                                              {2, "/dictionaries/names.dcb", kGerman, 3}}));
}

TEST_F(LoadDictionaryTest, AFullTableRefusesEveryFileWithoutAQuestion) {
    startProgram();
    for (int file = 0; file < context::kDictionarySlots; ++file)
        load("/dictionaries/" + std::to_string(file) + ".dcb");
    const context::AppState full = program().appState;
    m_engine.clearCalls();
    load("/dictionaries/7.dcb");
    load("/dictionaries/new.dcb");

    const std::string warning = "box main Error Exclamation Ok: No more space available!";
    EXPECT_EQ(messageLog(), (Lines{"beep Exclamation", warning, "beep Exclamation", warning}));
    EXPECT_TRUE(m_engine.calls().empty());
    EXPECT_EQ(program().appState, full);
}

TEST_F(LoadDictionaryTest, ALanguageSwitchForgetsTheTableWithoutUnloading) {
    startProgram();
    load("/dictionaries/names.dcb");
    command(context::IDM_LANGUAGE1);
    EXPECT_TRUE(usedSlots().empty());
    EXPECT_TRUE(m_engine.callsTo("EngineUnloadDictionary").empty());

    load("/dictionaries/names.dcb");
    EXPECT_TRUE(messageLog().empty());
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{0, "/dictionaries/names.dcb", kEnglish, 2}}));
}

TEST_F(LoadDictionaryTest, ExtendedModeOffersABinaryCopyCompiledFromTheSource) {
    startProgram(shell::Program::kExtendedModeWord);
    const std::string source = (startupDirectory() / "words.DCT").string();
    const std::string other = (startupDirectory() / "other.dct").string();
    const std::string copy = (startupDirectory() / "kept.dcb").string();
    const auto loadText = [this](const std::string& path) {
        m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_FORMAT);
        load(path);
    };
    // Yes, then the save dialog is cancelled.
    loadText(source);
    EXPECT_FALSE(std::filesystem::exists(copy));
    // Yes to the replace question, Yes to the copy, and a file chosen.
    m_recorders.fileDialogs->queueAnswer(QString::fromStdString(source));
    m_recorders.fileDialogs->queueAnswer(QString::fromStdString(copy));
    m_engine.queueStatus("EngineLoadDictionary", SAYMGR_EDICT_FORMAT);
    command(context::IDM_LOADDICT);
    // No.
    m_recorders.messages->queueAnswer(MessageResult::No);
    loadText(other);

    const std::string question =
        "box main Load Dictionary Question YesNo: Do you want to save this file with the binary "
        "dictionary format?";
    EXPECT_EQ(messageLog(), (Lines{"beep Question", question, "beep Question", kReplaceQuestion,
                                   "beep Question", question, "beep Question", question}));
    const std::vector<FileDialogRequest>& requests = m_recorders.fileDialogs->requests();
    ASSERT_EQ(requests.size(), 5u) << "no save dialog after No";
    EXPECT_EQ(lookOf(requests[1]),
              DialogLook(FileDialogRequest::Kind::Save, "Save as a Binary User Dictionary",
                         "words.dcb", "Binary User Dictionary (*.dcb);;all Files (*.*)"));
    EXPECT_EQ(requests[1].owner, &mainWindow());
    EXPECT_EQ(m_engine.callsTo("EngineCompileDictionary"),
              (Calls{compileCall(source, temporaryPath(0).string()),
                     compileCall(source, temporaryPath(1).string()), compileCall(source, copy),
                     compileCall(other, temporaryPath(2).string())}));
    EXPECT_TRUE(std::filesystem::exists(copy));
    EXPECT_TRUE(temporaryFiles().empty());
    EXPECT_EQ(usedSlots(), (std::vector<Slot>{{0, other, kGerman, 3}, {1, source, kGerman, 2}}));
}

}  // namespace
}  // namespace dictionarytest
