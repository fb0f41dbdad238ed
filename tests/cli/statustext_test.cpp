#include "engine/binding/statustext.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusText, KnownAndUnknownCodes) {
    EXPECT_STREQ(engine::statusText(-1), "Specified file not found!");
    EXPECT_STREQ(engine::statusText(-19), "Bad user dictionaty handle has been specified!");
    EXPECT_STREQ(engine::statusText(-24), "Invalid user dictionary format has been found!");
    EXPECT_STREQ(engine::statusText(-31), "No engine has been selected!");
    EXPECT_STREQ(engine::statusText(104), "No INI file found!");
    for (const int32_t code : {0, -17, -27, -32, 100, 105, 1}) {
        EXPECT_EQ(engine::statusText(code), nullptr) << code;
    }
}

}  // namespace
