#include "engine/voiceselection.h"

#include <QSignalBlocker>
#include <QSlider>
#include <optional>

#include "common/codepage.h"
#include "context/commandids.h"
#include "context/programcontext.h"
#include "engine/errorreport.h"
#include "engine/menubar.h"
#include "platform/waitcursor.h"

namespace engine {

namespace {

using namespace context;

// Constant arguments of the engine's voice operations.
constexpr int32_t kChannel = 1;
constexpr int32_t kUnchanged = -1;
constexpr int32_t kFirstAccelerationRule = 300;
constexpr int32_t kSecondAccelerationRule = 0;

QString ansi(const std::string& text) {
    return QString::fromStdString(common::ansiToUtf8(text));
}

bool isValidSlot(int slot) {
    return slot >= 0 && slot < context::kLanguageSlots;
}

// The frequency the engine can offer when the stored one is refused: 10, 11.025 or 8 kHz by
// preference, else the one the engine reports.
int32_t fallbackFrequency(const InstanceInfo& info) {
    if (info.has10kHz != 0) {
        return SAYMGR_FREQ_10000;
    }
    if (info.has11kHz != 0) {
        return SAYMGR_FREQ_11025;
    }
    if (info.has8kHz != 0) {
        return SAYMGR_FREQ_8000;
    }
    return info.frequency;
}

}  // namespace

VoiceSelection::VoiceSelection(context::ProgramContext& context, VoiceSelectionHooks hooks)
    : m_context(context), m_hooks(std::move(hooks)) {}

int VoiceSelection::frequencyCommandOf(int32_t frequencyCode) {
    switch (frequencyCode) {
        case SAYMGR_FREQ_7200:
            return IDM_FREQ7K;
        case SAYMGR_FREQ_8000:
            return IDM_FREQ8K;
        case SAYMGR_FREQ_10000:
            return IDM_FREQ10K;
        case SAYMGR_FREQ_11025:
            return IDM_FREQ11K;
        default:
            return 0;
    }
}

int32_t VoiceSelection::FrequencyCodeOf(int commandId) {
    switch (commandId) {
        case IDM_FREQ7K:
            return SAYMGR_FREQ_7200;
        case IDM_FREQ8K:
            return SAYMGR_FREQ_8000;
        case IDM_FREQ10K:
            return SAYMGR_FREQ_10000;
        case IDM_FREQ11K:
            return SAYMGR_FREQ_11025;
        default:
            return 0;
    }
}

int32_t VoiceSelection::SelectLanguage(int32_t languageId, int32_t languageNumber) {
    const binding::EngineOps& engine = engineOps();
    const int32_t instance = m_context.session.engineInstance;
    QWidget* owner = m_context.controls.mainWindow;
    InstanceInfo info{};
    {
        // Message boxes are shown with the ordinary cursor.
        std::optional<platform::WaitCursor> wait(std::in_place);
        const int32_t status = engine.EngineSelectLanguage(instance, languageId, kChannel);
        if (status != 0) {
            wait.reset();
            report(owner, status);
            return status;
        }
        const int32_t infoStatus = engine.EngineGetInstanceInfo(instance, &info);
        if (infoStatus != 0) {
            wait.reset();
            report(owner, infoStatus);
            wait.emplace();
        }
        if (MenuBar* bar = m_context.controls.menuBar) {
            bar->setItemEnabled(IDM_FREQ8K, info.has8kHz != 0);
            bar->setItemEnabled(IDM_FREQ10K, info.has10kHz != 0);
            bar->setItemEnabled(IDM_FREQ11K, info.has11kHz != 0);
        }
        ClearFrequencyChecks();
        settleFrequency(info);
    }
    if (m_hooks.relayout) {
        m_hooks.relayout();
    }
    if (m_hooks.emptyDictionaryTable) {
        m_hooks.emptyDictionaryTable();
    }
    context::AppState& state = m_context.appState;
    const int slot = languageNumber - 1;
    state.Language = languageNumber;
    state.languageHelpPath = m_context.languageTable.text(slot, context::LanguageColumn::HelpFile);
    retitleLanguageHelp(slot);
    const int32_t ruleStatus =
        engine.EngineSetAccelerationRule(instance, kFirstAccelerationRule, kSecondAccelerationRule);
    if (ruleStatus != 0) {
        report(owner, ruleStatus);
    }
    return 0;
}

void VoiceSelection::settleFrequency(const InstanceInfo& info) {
    context::AppState& state = m_context.appState;
    // A refused frequency is replaced without a message, and not offered to the engine again.
    if (engineOps().EngineSetFrequency(m_context.session.engineInstance, state.Frequency) != 0) {
        state.Frequency = fallbackFrequency(info);
    }
    const int command = frequencyCommandOf(state.Frequency);
    if (command != 0 && m_context.controls.menuBar) {
        m_context.controls.menuBar->setChecked(command, true);
    }
}

void VoiceSelection::retitleLanguageHelp(int slot) {
    MenuBar* bar = m_context.controls.menuBar;
    if (!bar) {
        return;
    }
    const QString text =
        QStringLiteral("&Help for %1")
            .arg(ansi(m_context.languageTable.text(slot, context::LanguageColumn::MenuText)));
    bar->replaceItem(bar->helpMenuPosition(), 1, IDM_LANGHELP, text);
}

bool VoiceSelection::trySelectSlot(int slot) {
    return SelectLanguage(m_context.appState.languageId[slot], slot + 1) == 0;
}

bool VoiceSelection::ChooseStartupLanguage() {
    const context::AppState& state = m_context.appState;
    const int stored = state.Language - 1;
    bool selected = isValidSlot(stored) && state.available[stored] == 1 && trySelectSlot(stored);
    for (int slot = 0; !selected && slot < state.languageCount; ++slot) {
        selected = state.available[slot] == 1 && trySelectSlot(slot);
    }
    if (!selected) {
        return false;
    }
    checkLanguage(IDM_LANGUAGE1 - 1 + state.Language);
    SyncVoiceControls();
    return true;
}

void VoiceSelection::checkLanguage(int commandId) {
    if (MenuBar* bar = m_context.controls.menuBar) {
        bar->setCheckedRange(IDM_LANGUAGE1, IDM_LANGUAGE1 + m_context.appState.languageCount,
                             false);
        bar->setChecked(commandId, true);
    }
}

void VoiceSelection::languageCommand(QWidget* window, int commandId) {
    context::AppState& state = m_context.appState;
    if (commandId == state.Language + IDM_LANGUAGE1 - 1) {
        return;
    }
    if (m_hooks.storeKeyboardText) {
        m_hooks.storeKeyboardText();
    }
    int found = -1;
    for (int slot = 0; slot < state.languageCount && found < 0; ++slot) {
        if (state.languageNumber[slot] + IDM_LANGUAGE1 - 1 == commandId) {
            found = slot;
        }
    }
    if (found < 0 || state.languageId[found] == 0 || !trySelectSlot(found)) {
        if (platform::MessageService* messages = m_context.services.messages.get()) {
            messages->show(window, QStringLiteral("Selected Langauge is not available!"),
                           QStringLiteral("Voxtrial Error"), platform::MessageIcon::None,
                           platform::MessageButtons::Ok);
        }
        return;
    }
    state.Language = commandId - (IDM_LANGUAGE1 - 1);
    const int slot = state.Language - 1;
    if (m_hooks.setLanguageLabel) {
        m_hooks.setLanguageLabel(QStringLiteral(" %1").arg(
            ansi(m_context.languageTable.text(slot, context::LanguageColumn::MenuText))));
    }
    if (m_hooks.showKeyboardText) {
        m_hooks.showKeyboardText();
    }
    SyncVoiceControls();
    sendVoiceParameters(window, state.Volume[slot], state.Speaker[slot], state.Rate[slot],
                        state.Pitch[slot]);
    checkLanguage(commandId);
    if (m_hooks.relayout) {
        m_hooks.relayout();
    }
}

void VoiceSelection::speakerCommand(QWidget* window, int commandId) {
    if (commandId < IDM_SPEAKER1 || commandId > IDM_SPEAKER9 || !hasCurrentSlot()) {
        return;
    }
    if (MenuBar* bar = m_context.controls.menuBar) {
        bar->setCheckedRange(IDM_SPEAKER1, IDM_SPEAKER9, false);
        bar->setChecked(commandId, true);
    }
    int32_t& speaker = m_context.appState.Speaker[currentSlot()];
    speaker = commandId - (IDM_SPEAKER1 - 1);
    sendVoiceParameters(window, kUnchanged, speaker, kUnchanged, kUnchanged);
}

void VoiceSelection::frequencyCommand(QWidget* window, int commandId) {
    const int32_t code = FrequencyCodeOf(commandId);
    if (code == 0) {
        return;
    }
    const int32_t status = engineOps().EngineSetFrequency(m_context.session.engineInstance, code);
    if (status != 0) {
        report(window, status);
        return;
    }
    ClearFrequencyChecks();
    m_context.appState.Frequency = code;
    if (m_context.controls.menuBar) {
        m_context.controls.menuBar->setChecked(commandId, true);
    }
}

void VoiceSelection::defaultsCommand(QWidget* window) {
    if (!hasCurrentSlot()) {
        return;
    }
    context::AppState& state = m_context.appState;
    const int slot = currentSlot();
    state.Volume[slot] = context::kDefaultVolume;
    state.Pitch[slot] = context::kDefaultPitch;
    state.Rate[slot] = context::kDefaultRate;
    state.Speaker[slot] = context::kDefaultSpeaker;
    sendVoiceParameters(window, context::kDefaultVolume, context::kDefaultSpeaker,
                        context::kDefaultRate, context::kDefaultPitch);
    SyncVoiceControls();
}

void VoiceSelection::trackbarChange(QWidget* window, const QSlider* slider) {
    if (!slider || !hasCurrentSlot()) {
        return;
    }
    context::AppState& state = m_context.appState;
    const int slot = currentSlot();
    if (slider == m_context.controls.volumeSlider) {
        state.Volume[slot] = slider->value();
    } else if (slider == m_context.controls.pitchSlider) {
        state.Pitch[slot] = slider->value();
    } else {
        state.Rate[slot] = slider->value();
    }
    sendVoiceParameters(window, state.Volume[slot], kUnchanged, state.Rate[slot],
                        state.Pitch[slot]);
}

bool VoiceSelection::handleCommand(QWidget* window, int commandId) {
    if (commandId >= IDM_LANGUAGE1 && commandId <= IDM_LANGUAGE25) {
        languageCommand(window, commandId);
    } else if (commandId >= IDM_SPEAKER1 && commandId <= IDM_SPEAKER9 && m_context.extendedMode) {
        speakerCommand(window, commandId);
    } else if (FrequencyCodeOf(commandId) != 0) {
        frequencyCommand(window, commandId);
    } else if (commandId == IDM_DEFAULTS) {
        defaultsCommand(window);
    } else {
        return false;
    }
    return true;
}

void VoiceSelection::SyncVoiceControls() {
    const context::AppState& state = m_context.appState;
    if (hasCurrentSlot()) {
        const int slot = currentSlot();
        const std::pair<QSlider*, int32_t> positions[] = {
            {m_context.controls.volumeSlider, state.Volume[slot]},
            {m_context.controls.pitchSlider, state.Pitch[slot]},
            {m_context.controls.rateSlider, state.Rate[slot]}};
        for (const auto& [slider, value] : positions) {
            if (slider) {
                // Setting a position is not a user's change: it must not reach the engine.
                const QSignalBlocker quiet(slider);
                slider->setValue(value);
                slider->update();
            }
        }
    }
    MenuBar* bar = m_context.controls.menuBar;
    if (!bar) {
        return;
    }
    if (m_context.extendedMode && hasCurrentSlot()) {
        bar->setCheckedRange(IDM_SPEAKER1, IDM_SPEAKER9, false);
        // Only a speaker the menu offers may be checked from the stored value.
        const int32_t speaker = state.Speaker[currentSlot()];
        if (speaker >= 1 && speaker <= IDM_SPEAKER9 - IDM_SPEAKER1 + 1) {
            bar->setChecked(IDM_SPEAKER1 - 1 + speaker, true);
        }
    }
    if (const int command = frequencyCommandOf(state.Frequency); command != 0) {
        bar->setChecked(command, true);
    }
    // Only a text-source command may be checked from the stored source.
    if (state.PlayMode >= IDM_SOURCEFILE && state.PlayMode <= IDM_SOURCEKEYBOARD) {
        bar->setChecked(state.PlayMode, true);
    }
    if (state.TextOut == 1) {
        bar->setChecked(IDM_SHOWMESSAGE, true);
    }
}

void VoiceSelection::ClearFrequencyChecks() {
    MenuBar* bar = m_context.controls.menuBar;
    if (!bar) {
        return;
    }
    if (m_context.extendedMode) {
        bar->setChecked(IDM_FREQ7K, false);
    }
    for (int command : {IDM_FREQ8K, IDM_FREQ10K, IDM_FREQ11K}) {
        bar->setChecked(command, false);
    }
}

void VoiceSelection::sendVoiceParameters(QWidget* owner, int32_t volume, int32_t speaker,
                                         int32_t rate, int32_t pitch) {
    const int32_t status = engineOps().EngineSetVoiceParameters(
        m_context.session.engineInstance, kChannel, volume, speaker, rate, pitch,
        SAYMGR_VOICE_MODE_CHANGE, SAYMGR_VOICE_LAST_CHANGE);
    if (status != 0) {
        report(owner, status);
    }
}

void VoiceSelection::report(QWidget* owner, int32_t status) {
    if (platform::MessageService* messages = m_context.services.messages.get()) {
        ReportError(*messages, owner, status);
    }
}

const binding::EngineOps& VoiceSelection::engineOps() const {
    return m_context.session.engine ? *m_context.session.engine : binding::unavailableEngineOps();
}

bool VoiceSelection::hasCurrentSlot() const {
    return isValidSlot(currentSlot());
}

int VoiceSelection::currentSlot() const {
    return m_context.appState.Language - 1;
}

}  // namespace engine
