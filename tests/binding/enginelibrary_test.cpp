#include "binding/enginelibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using binding::EngineLibrary;

// The names of the table's entries that are null.
std::vector<std::string> nullEntries(const binding::EngineOps& ops) {
    std::vector<std::string> names;
    binding::forEachOperation(ops, [&](auto entry, const char* name) {
        if (entry == nullptr) {
            names.emplace_back(name);
        }
    });
    return names;
}

TEST(EngineLibrary, TheEngineBindsEveryOperation) {
    const EngineLibrary library(VOXTRIAL_ENGINE_PATH);
    ASSERT_TRUE(library.isLoaded()) << library.loadError();
    EXPECT_EQ(nullEntries(library.ops()), std::vector<std::string>{});
    EXPECT_EQ(library.loadError(), "");
}

TEST(EngineLibrary, ALibraryLackingAnOperationIsRefusedWithItsNameAndAnswersLoadingError) {
    const EngineLibrary library(VOXTRIAL_INCOMPLETE_ENGINE_PATH);
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(library.loadError(), "missing operation EngineSetCallback");
    EXPECT_EQ(nullEntries(library.ops()), std::vector<std::string>{});
    int32_t instance = 0;
    EXPECT_EQ(library.ops().EngineOpen(&instance, nullptr, nullptr), SAYMGR_EENGINE_LOADING);
    EXPECT_EQ(library.ops().EngineClose(1), SAYMGR_EENGINE_LOADING);
}

TEST(EngineLibrary, AMissingFileIsRefusedWithTheLoadersReason) {
    const EngineLibrary library("/nonexistent/libsaymgr.so");
    EXPECT_FALSE(library.isLoaded());
    EXPECT_NE(library.loadError().find("/nonexistent/libsaymgr.so"), std::string::npos)
        << library.loadError();
    EXPECT_EQ(library.ops().EngineStop(1, 1), SAYMGR_EENGINE_LOADING);
}

}  // namespace
