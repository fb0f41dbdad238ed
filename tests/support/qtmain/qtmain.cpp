#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform notes every window operation it lacks (such as raise()); those notes
// are not test output, every other message is.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    g_defaultHandler(type, context, text);
}

}  // namespace

// Runs the tests inside a widget application: message boxes take widgets as owners. The tests
// are also listed at build time, without a display or a session, so the offscreen platform and
// a private runtime folder are the defaults.
int main(int argc, char** argv) {
    g_defaultHandler = qInstallMessageHandler(dropPlatformNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtimeDirectory;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDirectory.isValid()) {
        qputenv("XDG_RUNTIME_DIR", runtimeDirectory.path().toLocal8Bit());
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
