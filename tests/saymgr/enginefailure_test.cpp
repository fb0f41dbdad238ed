// The engine when the system refuses it a thread or memory: the call reports a status, the host
// goes on, and the user's file is kept. This program stands in for the system's thread creation
// and for the global allocation functions, so it runs alone.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <thread>

#include "enginehost.h"
#include "testsupport/temporaryfolder.h"

namespace {

std::atomic<bool> refuseThreads{false};
std::atomic<bool> refuseMemoryOffMainThread{false};
const std::thread::id mainThread = std::this_thread::get_id();

bool refusesThisAllocation() {
    return refuseMemoryOffMainThread && std::this_thread::get_id() != mainThread;
}

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*body)(void*), void* argument) {
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    return refuseThreads ? EAGAIN : create(thread, attributes, body, argument);
}

void* operator new(std::size_t size) {
    void* block = refusesThisAllocation() ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace saymgrtest {
namespace {

class EngineFailureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(m_host.open(), 0);
        writeText(target(), "the user's earlier file");
    }
    void TearDown() override {
        refuseThreads = false;
        refuseMemoryOffMainThread = false;
        EXPECT_EQ(EngineClose(m_host.instance()), 0);
    }
    std::filesystem::path target() const { return m_folder.path() / "speech.wav"; }
    int32_t generate() {
        const std::string text = "A sentence the engine cannot finish.";
        int32_t written = 0;
        return EngineSpeakToFile(m_host.instance(), text.c_str(), static_cast<int32_t>(text.size()),
                                 target().c_str(), SAYMGR_FORMAT_WAVE16, SAYMGR_TEXT_ANSI, 0,
                                 &written);
    }
    // The folder holds the user's file as it was, and nothing else.
    void expectOnlyTheUsersFile() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path())) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"speech.wav"});
        EXPECT_EQ(readText(target()), "the user's earlier file");
    }

    testsupport::TemporaryFolder m_folder;
    EngineHost m_host;
};

TEST_F(EngineFailureTest, ARefusedThreadIsReportedAndTheEngineGoesOn) {
    refuseThreads = true;
    EXPECT_EQ(generate(), SAYMGR_EINSTANCE_CREATE);
    expectOnlyTheUsersFile();

    refuseThreads = false;
    EXPECT_EQ(generate(), 0);
    EXPECT_NE(readText(target()), "the user's earlier file");
}

TEST_F(EngineFailureTest, MemoryRefusedToTheEnginesThreadsIsReportedAndTheEngineGoesOn) {
    refuseMemoryOffMainThread = true;
    EXPECT_EQ(generate(), SAYMGR_EMEMORY_ALLOC);
    refuseMemoryOffMainThread = false;
    expectOnlyTheUsersFile();

    EXPECT_EQ(generate(), 0);
}

}  // namespace
}  // namespace saymgrtest
