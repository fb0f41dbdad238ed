#include <gtest/gtest.h>

#include <QApplication>

namespace {

// Tests print nothing but their results; the platform plugin's notes are dropped.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

// Runs the tests inside a widget application on the offscreen platform.
int main(int argc, char** argv) {
    qInstallMessageHandler(quiet);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
