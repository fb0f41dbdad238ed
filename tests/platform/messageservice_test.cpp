#include <gtest/gtest.h>
#include <sndfile.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/profilefile.h"
#include "platform/services.h"
#include "testsupport/temporaryfolder.h"

namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

// What the open box showed, read when the "user" presses a button.
struct SeenBox {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;
};

// Presses the button with the given text in the next modal box, after noting what it shows.
void pressWhenShown(const QString& buttonText, SeenBox& seen) {
    QTimer::singleShot(0, [buttonText, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen = {box->text(), box->windowTitle(), box->icon(), box->windowModality(), {}};
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text().remove('&');
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove('&') == buttonText) {
                button->click();
            }
        }
    });
}

TEST(DesktopMessageService, ShowsAModalBoxAndReturnsThePressedButton) {
    platform::Services services = platform::makeDesktopServices("/");
    SeenBox seen;
    pressWhenShown("No", seen);
    EXPECT_EQ(services.messages->show(nullptr, "Quit Voxtrial?", "Question", MessageIcon::Question,
                                      MessageButtons::YesNo),
              MessageResult::No);
    EXPECT_EQ(seen.text, "Quit Voxtrial?");
    EXPECT_EQ(seen.caption, "Question");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(seen.buttons, QStringList({"Yes", "No"}));

    QWidget owner;
    pressWhenShown("OK", seen);
    EXPECT_EQ(services.messages->show(&owner, "No INI file found!", "Error", MessageIcon::Stop,
                                      MessageButtons::Ok),
              MessageResult::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList({"OK"}));
}

void writeTone(const std::filesystem::path& path) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(800);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.3f * std::sin(static_cast<float>(i) * 0.35f);
    }
    sf_write_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

// The question sound named in the user's profile is played where there is a device; without
// one the plain beep stands in. Either way the sound libraries say nothing on the terminal.
TEST(DesktopMessageService, TheProfilesQuestionSoundPlaysQuietlyOrFallsBack) {
    testsupport::TemporaryFolder folder;
    const std::string previous =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    ::setenv("XDG_CONFIG_HOME", (folder.path() / "config").c_str(), 1);
    writeTone(folder.path() / "ding.wav");
    platform::ProfileFile(platform::userProfilePath())
        .writeString("sounds", "SystemQuestion", "ding.wav");
    {
        platform::Services services = platform::makeDesktopServices(folder.path().string());
        ::testing::internal::CaptureStderr();
        services.messages->beep(platform::BeepKind::Question);
        services.messages->beep(platform::BeepKind::Question);
        services.messages->beep(platform::BeepKind::Information);
        services.messages.reset();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    }
    if (previous.empty()) {
        ::unsetenv("XDG_CONFIG_HOME");
    } else {
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    }
}

}  // namespace
