#include <gtest/gtest.h>

#include <QApplication>

// Message boxes take widgets as owners, so the tests run inside an application object. Test
// discovery runs this program without the tests' environment, so it needs no display either,
// and Qt's own notices (such as a missing runtime folder) are not test output.
int main(int argc, char** argv) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
