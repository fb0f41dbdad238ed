#include "shellfixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "platform/postedmessage.h"

namespace shelltest {

std::string twoLanguageSettings(int language, int playMode, int frequency) {
    std::ostringstream text;
    text << "[Languages]\n"
            "Language1=English,HELP_EN.HTM,DEMO_EN.TXT\n"
            "Language2=German,HELP_DE.HTM,DEMO_DE.TXT\n"
            "[Language1]\nVolume=7\nPitch=4\nRate=6\nSpeaker=2\n"
            "[Language2]\nVolume=3\nPitch=2\nRate=9\nSpeaker=1\n"
            "[TTSdefault]\n"
         << "Language=" << language << "\nFrequency=" << frequency << "\nPlayMode=" << playMode
         << "\nTextOut=1\nFileType=1\nDictFileType=1\n";
    return text.str();
}

ShellFixture::ShellFixture()
    : m_previousDirectory(std::filesystem::current_path()),
      m_recorders(testsupport::makeRecordingServices()) {
    std::filesystem::current_path(m_directory.path().toStdString());
    m_engine.addLanguage("English", "US", 11);
    m_engine.addLanguage("German", "DE", 22);
    m_engine.setInstanceInfo(11, true, true, true);
}

ShellFixture::~ShellFixture() {
    m_program.reset();
    drain();
    std::filesystem::current_path(m_previousDirectory);
}

std::filesystem::path ShellFixture::startupDirectory() const {
    return std::filesystem::path(m_directory.path().toStdString());
}

void ShellFixture::writeSettings(const std::string& text) {
    std::ofstream(settingsPath()) << text;
}

void ShellFixture::writeUserProfile(const std::string& text) {
    std::ofstream(userProfilePath()) << text;
}

std::string ShellFixture::readFile(const std::filesystem::path& path) const {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::optional<int> ShellFixture::start(const std::string& commandLine) {
    shell::ProgramOptions options;
    options.engine = &testsupport::FakeEngine::ops();
    options.extensions = m_extensions;
    options.services = std::move(m_recorders.services);
    options.userProfile = userProfilePath();
    m_program = std::make_unique<shell::Program>(std::move(options));
    const std::optional<int> result = m_program->start(commandLine);
    drain();
    return result;
}

void ShellFixture::startTwoLanguages(const std::string& commandLine) {
    writeSettings(twoLanguageSettings());
    ASSERT_EQ(start(commandLine), std::nullopt);
}

void ShellFixture::selectInput(int start, int end) {
    QPlainTextEdit& input = mainWindow().input();
    QTextCursor cursor = input.textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    input.setTextCursor(cursor);
}

void ShellFixture::command(int commandId, QWidget* window) {
    platform::sendMessage(window ? window : m_program->mainWindow(), platform::kCommandEventType,
                          commandId);
    drain();
}

void ShellFixture::drain() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QPointer<QTimer> ShellFixture::whenModalShown(std::function<void(QDialog&)> step) {
    constexpr int kAttempts = 1000;
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, before, step = std::move(step), attempts = 0]() mutable {
                         auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                         const bool shown = dialog != nullptr && dialog != before;
                         if (!shown && ++attempts < kAttempts) {
                             return;
                         }
                         timer->stop();
                         timer->deleteLater();
                         if (shown) {
                             step(*dialog);
                         }
                     });
    timer->start();
    return timer;
}

}  // namespace shelltest
