#include "binding/statustext.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

// Every status code the engine's interface declares has its message.
TEST(StatusText, EveryCodeOfTheEngineInterfaceHasAMessage) {
    std::ifstream header(VOXTRIAL_SAYMGR_HEADER);
    std::stringstream text;
    text << header.rdbuf();
    const std::string declarations = text.str();
    const std::regex code(R"((SAYMGR_E\w+)\s*=\s*(-\d+))");
    int count = 0;
    for (std::sregex_iterator it(declarations.begin(), declarations.end(), code), end; it != end;
         ++it, ++count) {
        EXPECT_NE(binding::statusText(std::stoi((*it)[2])), nullptr) << (*it)[1];
    }
    EXPECT_EQ(count, 29);
}

TEST(StatusText, MessagesAndTheFallbackForCodesWithoutOne) {
    EXPECT_EQ(binding::statusMessage(-19), "Bad user dictionaty handle has been specified!");
    EXPECT_EQ(binding::statusMessage(-17), "Unknown error [ -17 ] found!");
    EXPECT_EQ(binding::statusMessage(0), "Unknown error [ 0 ] found!");
    EXPECT_EQ(binding::statusText(101), nullptr);
}

}  // namespace
