#pragma once

#include <saymgr.h>

#include <QString>
#include <cstdint>
#include <functional>

class QSlider;
class QWidget;

namespace context {
struct ProgramContext;
}

namespace binding {
struct EngineOps;
}

namespace engine {

// What voice selection needs from the rest of the program. Every hook may be left empty.
struct VoiceSelectionHooks {
    // The main window's layout operation.
    std::function<void()> relayout;
    // Keeps the input window's text as the current language's keyboard text.
    std::function<void()> storeKeyboardText;
    // Shows the current language's keyboard text in the input window.
    std::function<void()> showKeyboardText;
    // Shows `text` in the main window's language label.
    std::function<void(const QString& text)> setLanguageLabel;
    // Forgets every loaded user dictionary (all slots empty); the engine is not asked to unload.
    std::function<void()> emptyDictionaryTable;
};

// Keeps three things in step: the engine instance, the voice values of the state record
// (language, frequency, per-language volume, pitch, rate and speaker) and the main window's
// menu check marks and sliders. The main window hands it the Language, Speaker, Frequency and
// Defaults commands and the slider changes; start-up calls ChooseStartupLanguage.
class VoiceSelection {
  public:
    VoiceSelection(context::ProgramContext& context, VoiceSelectionHooks hooks);

    // Makes the engine speak language `languageId`, which becomes language `languageNumber`
    // (1-based slot). Returns 0 or the failing status of EngineSelectLanguage; on failure
    // nothing else changes.
    int32_t SelectLanguage(int32_t languageId, int32_t languageNumber);
    // Selects the stored language, or else the first selectable one; false when none can be.
    bool ChooseStartupLanguage();

    // The command handlers; `window` received the command and owns any message.
    void languageCommand(QWidget* window, int commandId);   // 600..624
    void speakerCommand(QWidget* window, int commandId);    // 500..508
    void frequencyCommand(QWidget* window, int commandId);  // 131..134
    void defaultsCommand(QWidget* window);                  // 114
    // One of the three sliders moved; any slider other than volume and pitch counts as rate.
    void trackbarChange(QWidget* window, const QSlider* slider);
    // Runs the handler of a voice command and returns true, or returns false for others.
    bool handleCommand(QWidget* window, int commandId);

    // Sets the sliders and the check marks from the state record.
    void SyncVoiceControls();
    // Removes the check marks of the frequency items.
    void ClearFrequencyChecks();

    // The frequency command of a frequency code and back; 0 when there is none.
    static int frequencyCommandOf(int32_t frequencyCode);
    static int32_t FrequencyCodeOf(int commandId);

  private:
    bool trySelectSlot(int slot);
    void settleFrequency(const InstanceInfo& info);
    void retitleLanguageHelp(int slot);
    void checkLanguage(int commandId);
    void sendVoiceParameters(QWidget* owner, int32_t volume, int32_t speaker, int32_t rate,
                             int32_t pitch);
    void report(QWidget* owner, int32_t status);
    const binding::EngineOps& engineOps() const;
    bool hasCurrentSlot() const;
    int currentSlot() const;

    context::ProgramContext& m_context;
    VoiceSelectionHooks m_hooks;
};

}  // namespace engine
