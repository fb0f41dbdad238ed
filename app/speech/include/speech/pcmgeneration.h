#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace context {
struct ProgramContext;
}

namespace speech {

class SpeechRequests;

// One of the five sound file formats the engine writes, by the code it receives.
struct PcmFormat {
    int32_t code;
    const char* title;
    const char* filter;
    const char* defaultName;
};

// The format with `code` (0 to 4); an unknown code is the 16-bit linear format.
const PcmFormat& pcmFormatOf(int32_t code);

// Asks where to write a sound file in `format`: the format's title and filter, its default name
// proposed every time in the current folder. Nothing when the user cancelled.
std::optional<std::string> ChoosePcmFile(context::ProgramContext& program, QWidget* owner,
                                         int32_t format);

// The generate commands: after the save dialog, the modal progress dialog asks the main window
// to generate (UM_GENPCM) and closes when told it is done (UM_GENPCMDONE); its Cancel asks the
// main window to stop the engine (UM_STOPENGINE) and closes at once.
class PcmGeneration {
  public:
    PcmGeneration(context::ProgramContext& program, SpeechRequests& requests);

    // A generate command with the format code its menu item stands for.
    void onGenerateCommand(QWidget* mainWindow, int32_t format);
    // The main window's handling of UM_GENPCM: writes the pending file; errors have no owner.
    int32_t onGeneratePcm();

    int32_t pcmFormat() const { return m_pcmFormat; }
    const std::string& pcmPath() const { return m_pcmPath; }

  private:
    void runProgressDialog(QWidget* mainWindow);

    context::ProgramContext& m_program;
    SpeechRequests& m_requests;
    int32_t m_pcmFormat = 0;
    std::string m_pcmPath;
};

}  // namespace speech
