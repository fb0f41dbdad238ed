#include "platform/postedmessage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "eventrecorder.h"

namespace {

using testsupport::EventRecorder;

TEST(PostedMessage, PostedMessagesWaitForTheLoopAndKeepTheirOrderAndValues) {
    EventRecorder window;
    platform::postMessage(&window, 0x2013, -5, 70000);
    platform::postCommand(&window, 250);
    EXPECT_TRUE(window.received().empty());
    QCoreApplication::sendPostedEvents(&window);
    ASSERT_EQ(window.received().size(), 2u);
    EXPECT_EQ(window.received()[0].number, 0x2013);
    EXPECT_EQ(window.received()[0].wParam, -5);
    EXPECT_EQ(window.received()[0].lParam, 70000);
    EXPECT_EQ(window.received()[1].number, platform::kCommandEventType);
    EXPECT_EQ(window.received()[1].wParam, 250);
}

TEST(PostedMessage, SendDeliversAtOnceAndReportsTheHandlersAnswer) {
    EventRecorder window;
    EXPECT_TRUE(platform::sendMessage(&window, 7000, 1, 2));
    ASSERT_EQ(window.received().size(), 1u);
    window.accept = false;
    EXPECT_FALSE(platform::sendMessage(&window, 7000));
}

TEST(PostedMessage, AMissingTargetIsIgnored) {
    platform::postMessage(nullptr, 0x2000);
    platform::postCommand(nullptr, 250);
    EXPECT_FALSE(platform::sendMessage(nullptr, 0x2000));
}

}  // namespace
