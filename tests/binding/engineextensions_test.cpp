// The monitoring extensions are optional: a library without them still loads and serves, and
// the helpers answer without them.
#include <gtest/gtest.h>

#include <vector>

#include "binding/audiotap.h"
#include "binding/enginelibrary.h"

namespace {

TEST(EngineExtensions, LookedUpWhereTheEngineHasThem) {
    const binding::EngineLibrary engine(VOXTRIAL_ENGINE_PATH);
    ASSERT_TRUE(engine.isLoaded()) << engine.loadError();
    EXPECT_TRUE(engine.extensions().complete());

    const binding::EngineLibrary without(VOXTRIAL_REFUSING_ENGINE_PATH);
    ASSERT_TRUE(without.isLoaded()) << without.loadError();
    const binding::EngineExtensions& none = without.extensions();
    EXPECT_FALSE(none.complete());
    EXPECT_EQ(none.SaymgrSetAudioTap, nullptr);
    EXPECT_EQ(binding::notifyPosition(none, 1), std::nullopt);
    std::vector<binding::PhonemeWord> words{{0, 1, "x"}};
    EXPECT_EQ(binding::textToPhonemes(none, 1, "Hello", SAYMGR_TEXT_ANSI, words),
              SAYMGR_EENGINE_LOADING);
    EXPECT_TRUE(words.empty());
    const binding::AudioTap tap(none, 1, [](auto, auto, auto) { ADD_FAILURE(); });
    EXPECT_EQ(tap.status(), SAYMGR_EENGINE_LOADING);
    int32_t instance = 0;
    EXPECT_EQ(without.ops().EngineOpen(&instance, nullptr, nullptr), -27)
        << "the twenty operations are bound all the same";
}

}  // namespace
