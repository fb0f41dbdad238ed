#include <gtest/gtest.h>

#include <QApplication>

// Message boxes take widgets as owners, so the tests run inside an application object.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
