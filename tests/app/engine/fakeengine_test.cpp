#include "fakeengine/fakeengine.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

using testsupport::EngineArg;
using testsupport::EngineCall;
using testsupport::FakeEngine;

TEST(FakeEngine, ItsTableHasEveryOperation) {
    std::vector<std::string> missing;
    binding::forEachOperation(testsupport::FakeEngine::ops(), [&](auto entry, const char* name) {
        if (entry == nullptr) {
            missing.emplace_back(name);
        }
    });
    EXPECT_EQ(missing, std::vector<std::string>{});
}

TEST(FakeEngine, OpensWithTheScriptedLanguagesAndRecordsArguments) {
    FakeEngine fake;
    fake.setInstanceHandle(7);
    fake.addLanguage("English", "US", 11);
    fake.addLanguage("German", "DE", 12);
    const binding::EngineOps& ops = FakeEngine::ops();

    int32_t instance = 0;
    LanguageList list{};
    ASSERT_EQ(ops.EngineOpen(&instance, nullptr, &list), 0);
    EXPECT_EQ(instance, 7);
    ASSERT_EQ(list.count, 2);
    EXPECT_STREQ(list.entries[1].name, "German");
    EXPECT_STREQ(list.entries[1].variant, "DE");
    EXPECT_EQ(list.entries[1].languageId, 12);

    const char text[] = "Hello there";
    ops.EngineSpeak(7, 1, text, 5, 1, nullptr);
    ops.EngineSetVoiceParameters(7, 1, 8, -1, 5, 5, 5, -1);
    EXPECT_EQ(fake.calls()[1], (EngineCall{"EngineSpeak", {7, 1, "Hello", 5, 1}}));
    EXPECT_EQ(fake.callsTo("EngineSetVoiceParameters").at(0).args,
              (std::vector<EngineArg>{7, 1, 8, -1, 5, 5, 5, -1}));
}

TEST(FakeEngine, QueuedStatusesComeBeforeTheStandingOne) {
    FakeEngine fake;
    fake.setStatus("EngineSetFrequency", -13);
    fake.queueStatus("EngineSetFrequency", 0);
    const binding::EngineOps& ops = FakeEngine::ops();
    EXPECT_EQ(ops.EngineSetFrequency(1, 10), 0);
    EXPECT_EQ(ops.EngineSetFrequency(1, 10), -13);
    EXPECT_EQ(ops.EngineSetFrequency(1, 10), -13);
}

TEST(FakeEngine, SpeakPlaysTheScriptAndStopSkipsToTheEnd) {
    FakeEngine fake;
    static std::vector<int32_t> received;
    received.clear();
    const binding::EngineOps& ops = FakeEngine::ops();
    ops.EngineSetCallback(1, 1, [](int32_t, int32_t code, int32_t, int32_t) {
        received.push_back(code);
        return 0;
    });
    fake.addNotification(SAYMGR_NOTIFY_START);
    fake.addNotification(SAYMGR_NOTIFY_CHUNK, 4);
    fake.addAction([&] { ops.EngineStop(1, 1); });
    fake.addNotification(SAYMGR_NOTIFY_CHUNK, 4);
    fake.addNotification(SAYMGR_NOTIFY_END);

    EXPECT_EQ(ops.EngineSpeak(1, 1, "abcdefgh", 8, 0, nullptr), 0);
    EXPECT_EQ(received,
              (std::vector<int32_t>{SAYMGR_NOTIFY_START, SAYMGR_NOTIFY_CHUNK, SAYMGR_NOTIFY_END}));
    EXPECT_EQ(fake.operations(),
              (std::vector<std::string>{"EngineSetCallback", "EngineSpeak", "EngineStop"}));
    EXPECT_FALSE(fake.isSpeaking());
}

TEST(FakeEngine, SpeakToFileDispatchesTheHostAndWritesTheScriptedBytes) {
    FakeEngine fake;
    int dispatched = 0;
    SaymgrHostThread host{&dispatched, [](void* count, int32_t) { ++*static_cast<int*>(count); },
                          [](void*) {}};
    int32_t instance = 0;
    FakeEngine::ops().EngineOpen(&instance, &host, nullptr);
    fake.addNotification(SAYMGR_NOTIFY_START);
    fake.addAction([&] { EXPECT_TRUE(fake.isSpeaking()); });
    fake.setBytesWritten(1234);
    fake.setSpeakToFileBytes(std::string("RIFF"));
    const QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString path = directory.filePath("out.wav");
    const std::string pathText = path.toStdString();

    int32_t written = 0;
    EXPECT_EQ(
        FakeEngine::ops().EngineSpeakToFile(1, "word", 4, pathText.c_str(), 4, 1, 0, &written), 0);
    EXPECT_EQ(dispatched, 2);
    EXPECT_EQ(written, 1234);
    EXPECT_EQ(fake.calls().back(),
              (EngineCall{"EngineSpeakToFile", {1, "word", 4, pathText, 4, 1, 0}}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("RIFF"));
}

TEST(FakeEngine, WithoutAFakeEveryOperationReportsAMissingEngine) {
    int32_t instance = 0;
    EXPECT_EQ(FakeEngine::ops().EngineOpen(&instance, nullptr, nullptr), SAYMGR_EENGINE_LOADING);
}

}  // namespace
