#include "engine/voiceselection.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <memory>
#include <string>
#include <vector>

#include "context/programcontext.h"
#include "engine/menubar.h"
#include "fakeengine/fakeengine.h"
#include "testsupport/recordingservices.h"

namespace {

using context::LanguageColumn;
using testsupport::EngineArg;
using testsupport::EngineCall;
using testsupport::FakeEngine;
using Args = std::vector<EngineArg>;
using Log = std::vector<std::string>;

constexpr int32_t kInstance = 3;

class VoiceSelectionTest : public ::testing::Test {
  protected:
    // An engine language in the next slot, joined as the settings reader joins it.
    void offer(const std::string& name, const std::string& variant, int32_t id) {
        const int slot = m_fake.addLanguage(name, variant, id) - 1;
        context::AppState& state = m_context.appState;
        state.languageCount = slot + 1;
        state.available[slot] = 1;
        state.languageNumber[slot] = slot + 1;
        state.languageId[slot] = id;
        state.Volume[slot] = 8;
        state.Pitch[slot] = 5;
        state.Rate[slot] = 5;
        state.Speaker[slot] = 1;
        m_context.languageTable.setText(slot, LanguageColumn::Name, name);
        m_context.languageTable.setText(slot, LanguageColumn::HelpFile, name + ".hlp");
        m_context.languageTable.setText(slot, LanguageColumn::MenuText, name + " " + variant);
    }

    void start(bool extended) {
        m_context.extendedMode = extended;
        m_context.session.engine = &FakeEngine::ops();
        m_context.session.engineInstance = kInstance;
        m_context.services = std::move(m_recording.services);
        m_context.controls.mainWindow = &m_window;
        for (QSlider** slider : {&m_volume, &m_pitch, &m_rate}) {
            *slider = new QSlider(Qt::Horizontal, &m_window);
            (*slider)->setRange(1, 9);
        }
        m_context.controls.volumeSlider = m_volume;
        m_context.controls.pitchSlider = m_pitch;
        m_context.controls.rateSlider = m_rate;
        if (m_context.appState.Language == 0) {
            m_context.appState.Language = 1;
        }
        m_bar = engine::MenuBar::build(m_context.appState, m_context.languageTable, extended, {});
        m_context.controls.menuBar = m_bar.get();
        engine::VoiceSelectionHooks hooks;
        hooks.relayout = [this] { m_hooks.push_back("relayout"); };
        hooks.storeKeyboardText = [this] { m_hooks.push_back("store"); };
        hooks.showKeyboardText = [this] { m_hooks.push_back("show"); };
        hooks.setLanguageLabel = [this](const QString& text) {
            m_hooks.push_back("label:" + text.toStdString());
        };
        hooks.emptyDictionaryTable = [this] { m_hooks.push_back("dictionaries"); };
        m_voice = std::make_unique<engine::VoiceSelection>(m_context, std::move(hooks));
    }

    // Languages English (id 11), German (12) and French (13), the first one current.
    void startWithThreeLanguages(bool extended) {
        offer("English", "US", 11);
        offer("German", "DE", 12);
        offer("French", "FR", 13);
        m_fake.setInstanceInfo(10, true, true, true);
        m_context.appState.Frequency = 10;
        start(extended);
        ASSERT_EQ(m_voice->SelectLanguage(11, 1), 0);
        m_fake.clearCalls();
        m_hooks.clear();
    }

    std::vector<int> checkedCommands() const {
        std::vector<int> checked;
        for (int command = 100; command <= 624; ++command) {
            if (m_bar->isChecked(command)) {
                checked.push_back(command);
            }
        }
        return checked;
    }

    std::vector<testsupport::MessageEvent> boxes() const { return m_messages->boxes(); }

    static EngineCall call(const std::string& operation, Args args) {
        return {operation, std::move(args)};
    }
    static EngineCall voice(int volume, int speaker, int rate, int pitch) {
        return call("EngineSetVoiceParameters",
                    {kInstance, 1, volume, speaker, rate, pitch, 5, -1});
    }

    FakeEngine m_fake;
    testsupport::RecordingServices m_recording = testsupport::makeRecordingServices();
    testsupport::RecordingMessageService* m_messages = m_recording.messages;
    context::ProgramContext m_context;
    QWidget m_window;
    QWidget m_panel;
    QSlider* m_volume = nullptr;
    QSlider* m_pitch = nullptr;
    QSlider* m_rate = nullptr;
    std::unique_ptr<engine::MenuBar> m_bar;
    std::unique_ptr<engine::VoiceSelection> m_voice;
    Log m_hooks;
};

// ---- SelectLanguage --------------------------------------------------------------------------

TEST_F(VoiceSelectionTest, SelectingALanguageSetsUpEngineStateAndMenus) {
    offer("English", "US", 11);
    offer("German", "DE", 12);
    m_fake.setInstanceInfo(10, false, true, true);
    m_context.appState.Frequency = 11;
    start(false);

    ASSERT_EQ(m_voice->SelectLanguage(12, 2), 0);

    EXPECT_EQ(m_fake.calls(), (std::vector<EngineCall>{
                                  call("EngineSelectLanguage", {kInstance, 12, 1}),
                                  call("EngineGetInstanceInfo", {kInstance}),
                                  call("EngineSetFrequency", {kInstance, 11}),
                                  call("EngineSetAccelerationRule", {kInstance, 300, 0}),
                              }));
    EXPECT_EQ(m_context.appState.Language, 2);
    EXPECT_EQ(m_context.appState.languageHelpPath, "German.hlp");
    EXPECT_EQ(m_hooks, (Log{"relayout", "dictionaries"}));
    EXPECT_EQ(checkedCommands(), (std::vector<int>{132}));
    EXPECT_FALSE(m_bar->action(133)->isEnabled());
    EXPECT_TRUE(m_bar->action(131)->isEnabled());
    EXPECT_TRUE(m_bar->action(132)->isEnabled());
    EXPECT_TRUE(boxes().empty());

    // The language help item is retitled in place, keeping its command.
    const QList<QAction*> help = m_bar->topMenu(3)->actions();
    ASSERT_EQ(help.size(), 5);
    EXPECT_EQ(help[1]->text(), "&Help for German DE");
    EXPECT_EQ(help[1]->data().toInt(), 118);
}

TEST_F(VoiceSelectionTest, HelpItemIsRetitledInTheExtendedHelpMenuToo) {
    startWithThreeLanguages(true);
    ASSERT_EQ(m_voice->SelectLanguage(13, 3), 0);
    const QList<QAction*> help = m_bar->topMenu(4)->actions();
    ASSERT_EQ(help.size(), 5);
    EXPECT_EQ(help[1]->text(), "&Help for French FR");
    EXPECT_EQ(help[1]->data().toInt(), 118);
    EXPECT_EQ(help[0]->data().toInt(), 116);
}

TEST_F(VoiceSelectionTest, RefusedSelectionChangesNothing) {
    startWithThreeLanguages(false);
    m_fake.setStatus("EngineSelectLanguage", -28);

    EXPECT_EQ(m_voice->SelectLanguage(12, 2), -28);

    EXPECT_EQ(m_fake.calls(),
              (std::vector<EngineCall>{call("EngineSelectLanguage", {kInstance, 12, 1})}));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_EQ(boxes()[0].owner, &m_window);
    EXPECT_EQ(m_context.appState.Language, 1);
    EXPECT_EQ(m_context.appState.languageHelpPath, "English.hlp");
    EXPECT_EQ(m_bar->action(118)->text(), "&Help for English US");
    EXPECT_TRUE(m_hooks.empty());
}

TEST_F(VoiceSelectionTest, RefusedFrequencyFallsBackByTheEnginesFlagsWithoutAMessage) {
    struct Case {
        bool has8, has10, has11;
        int32_t reported;
        int32_t expected;
        std::vector<int> checked;
    };
    const Case cases[] = {
        {true, true, true, 7, 10, {131}},  {true, false, true, 7, 11, {132}},
        {true, false, false, 7, 8, {133}}, {false, false, false, 7, 7, {134}},
        {false, false, false, 9, 9, {}},
    };
    for (const Case& c : cases) {
        FakeEngine fake;
        testsupport::RecordingServices recording = testsupport::makeRecordingServices();
        context::ProgramContext context;
        context::AppState& state = context.appState;
        fake.addLanguage("English", "US", 11);
        state.languageCount = 1;
        state.available[0] = 1;
        state.Frequency = 7;
        context.extendedMode = true;
        context.session.engine = &FakeEngine::ops();
        context.services = std::move(recording.services);
        auto bar = engine::MenuBar::build(state, context.languageTable, true, {});
        context.controls.menuBar = bar.get();
        fake.setInstanceInfo(c.reported, c.has8, c.has10, c.has11);
        fake.setStatus("EngineSetFrequency", -13);
        engine::VoiceSelection voice(context, {});

        ASSERT_EQ(voice.SelectLanguage(11, 1), 0);

        EXPECT_EQ(state.Frequency, c.expected);
        EXPECT_EQ(fake.callsTo("EngineSetFrequency").size(), 1u);
        EXPECT_TRUE(recording.messages->log().empty());
        std::vector<int> checked;
        for (int command : {131, 132, 133, 134}) {
            if (bar->isChecked(command)) {
                checked.push_back(command);
            }
        }
        EXPECT_EQ(checked, c.checked) << "fallback to " << c.expected;
    }
}

TEST_F(VoiceSelectionTest, SwitchingLanguageRegraysTheFrequencyItems) {
    startWithThreeLanguages(false);
    m_fake.setInstanceInfo(10, false, true, false);
    m_voice->SelectLanguage(12, 2);
    EXPECT_FALSE(m_bar->action(133)->isEnabled());
    EXPECT_FALSE(m_bar->action(132)->isEnabled());

    m_fake.setInstanceInfo(10, true, true, true);
    m_voice->SelectLanguage(13, 3);
    EXPECT_TRUE(m_bar->action(133)->isEnabled());
    EXPECT_TRUE(m_bar->action(132)->isEnabled());
}

TEST_F(VoiceSelectionTest, InstanceInfoAndAccelerationFailuresAreReportedButSelectionSucceeds) {
    startWithThreeLanguages(false);
    m_fake.setStatus("EngineGetInstanceInfo", -26);
    m_fake.setStatus("EngineSetAccelerationRule", -14);

    EXPECT_EQ(m_voice->SelectLanguage(12, 2), 0);

    EXPECT_EQ(m_fake.operations(),
              (std::vector<std::string>{"EngineSelectLanguage", "EngineGetInstanceInfo",
                                        "EngineSetFrequency", "EngineSetAccelerationRule"}));
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].owner, &m_window);
    EXPECT_EQ(boxes()[1].owner, &m_window);
    EXPECT_EQ(m_context.appState.Language, 2);
}

// ---- ChooseStartupLanguage --------------------------------------------------------------------

TEST_F(VoiceSelectionTest, StartupSelectsTheStoredLanguageAndSyncsTheControls) {
    offer("English", "US", 11);
    offer("German", "DE", 12);
    m_fake.setInstanceInfo(10, true, true, true);
    context::AppState& state = m_context.appState;
    state.Language = 2;
    state.Frequency = 8;
    state.PlayMode = 137;
    state.TextOut = 1;
    state.Volume[1] = 3;
    state.Pitch[1] = 4;
    state.Rate[1] = 6;
    state.Speaker[1] = 7;
    start(true);

    ASSERT_TRUE(m_voice->ChooseStartupLanguage());

    EXPECT_EQ(m_fake.callsTo("EngineSelectLanguage"),
              (std::vector<EngineCall>{call("EngineSelectLanguage", {kInstance, 12, 1})}));
    EXPECT_EQ(state.Language, 2);
    EXPECT_EQ(checkedCommands(), (std::vector<int>{133, 137, 140, 506, 601}));
    EXPECT_EQ(m_volume->value(), 3);
    EXPECT_EQ(m_pitch->value(), 4);
    EXPECT_EQ(m_rate->value(), 6);
}

TEST_F(VoiceSelectionTest, StartupSkipsAStoredLanguageTheEngineDoesNotOffer) {
    offer("English", "US", 11);
    offer("German", "DE", 12);
    m_context.appState.available[5] = -1;
    m_context.appState.Language = 6;
    start(false);

    ASSERT_TRUE(m_voice->ChooseStartupLanguage());

    EXPECT_EQ(m_fake.callsTo("EngineSelectLanguage"),
              (std::vector<EngineCall>{call("EngineSelectLanguage", {kInstance, 11, 1})}));
    EXPECT_EQ(m_context.appState.Language, 1);
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(m_bar->isChecked(600));
}

TEST_F(VoiceSelectionTest, StartupTriesEverySlotInOrderAfterAFailure) {
    offer("English", "US", 11);
    offer("German", "DE", 12);
    offer("French", "FR", 13);
    m_context.appState.Language = 2;
    m_context.appState.Frequency = 10;
    m_fake.queueStatus("EngineSelectLanguage", -28);  // German, stored
    m_fake.queueStatus("EngineSelectLanguage", -28);  // English
    m_fake.queueStatus("EngineSelectLanguage", -28);  // German again
    start(false);

    ASSERT_TRUE(m_voice->ChooseStartupLanguage());

    Args ids;
    for (const EngineCall& select : m_fake.callsTo("EngineSelectLanguage")) {
        ids.push_back(select.args[1]);
    }
    EXPECT_EQ(ids, (Args{12, 11, 12, 13}));
    EXPECT_EQ(boxes().size(), 3u);
    EXPECT_EQ(m_context.appState.Language, 3);
    EXPECT_EQ(checkedCommands(), (std::vector<int>{131, 602}));
}

TEST_F(VoiceSelectionTest, StartupFailsWhenNoLanguageCanBeSelected) {
    offer("English", "US", 11);
    m_fake.setStatus("EngineSelectLanguage", -28);
    start(false);
    EXPECT_FALSE(m_voice->ChooseStartupLanguage());
    EXPECT_EQ(boxes().size(), 2u);  // the stored language, then the same slot in order
    EXPECT_FALSE(m_bar->isChecked(600));
}

TEST_F(VoiceSelectionTest, StartupWithAnEmptyLanguageListFailsAtOnce) {
    m_context.appState.Language = 1;
    start(false);
    EXPECT_FALSE(m_voice->ChooseStartupLanguage());
    EXPECT_TRUE(m_fake.calls().empty());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(VoiceSelectionTest, StartupWithAStoredLanguageBeyondTheSlotsTakesTheFirst) {
    offer("English", "US", 11);
    m_context.appState.Language = 40;
    start(false);
    ASSERT_TRUE(m_voice->ChooseStartupLanguage());
    EXPECT_EQ(m_context.appState.Language, 1);
}

// ---- Language command -------------------------------------------------------------------------

TEST_F(VoiceSelectionTest, LanguageCommandSwitchesAndSendsTheNewVoice) {
    startWithThreeLanguages(false);
    context::AppState& state = m_context.appState;
    state.Volume[2] = 2;
    state.Speaker[2] = 4;
    state.Rate[2] = 9;
    state.Pitch[2] = 1;
    m_bar->setChecked(600, true);

    EXPECT_TRUE(m_voice->handleCommand(&m_panel, 602));

    EXPECT_EQ(m_fake.calls(), (std::vector<EngineCall>{
                                  call("EngineSelectLanguage", {kInstance, 13, 1}),
                                  call("EngineGetInstanceInfo", {kInstance}),
                                  call("EngineSetFrequency", {kInstance, 10}),
                                  call("EngineSetAccelerationRule", {kInstance, 300, 0}),
                                  voice(2, 4, 9, 1),
                              }));
    EXPECT_EQ(m_hooks,
              (Log{"store", "relayout", "dictionaries", "label: French FR", "show", "relayout"}));
    EXPECT_EQ(state.Language, 3);
    EXPECT_EQ(m_volume->value(), 2);
    EXPECT_EQ(m_rate->value(), 9);
    EXPECT_EQ(m_pitch->value(), 1);
    EXPECT_FALSE(m_bar->isChecked(600));
    EXPECT_TRUE(m_bar->isChecked(602));
}

TEST_F(VoiceSelectionTest, ChoosingTheCurrentLanguageDoesNothing) {
    startWithThreeLanguages(false);
    m_voice->languageCommand(&m_window, 600);
    EXPECT_TRUE(m_fake.calls().empty());
    EXPECT_TRUE(m_hooks.empty());
    EXPECT_TRUE(m_messages->log().empty());
}

TEST_F(VoiceSelectionTest, LanguageWithoutAnIdIsNotAvailableWithoutAskingTheEngine) {
    offer("English", "US", 11);
    offer("Klingon", "KL", 0);
    m_fake.setInstanceInfo(10, true, true, true);
    start(false);

    m_voice->languageCommand(&m_panel, 601);

    EXPECT_TRUE(m_fake.calls().empty());
    ASSERT_EQ(m_messages->log().size(), 1u);  // a box, no beep
    const testsupport::MessageEvent box = boxes().at(0);
    EXPECT_EQ(box.text, "Selected Langauge is not available!");
    EXPECT_EQ(box.caption, "Voxtrial Error");
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(box.icon, platform::MessageIcon::None);
    EXPECT_EQ(box.owner, &m_panel);
    EXPECT_EQ(m_context.appState.Language, 1);
}

TEST_F(VoiceSelectionTest, LanguageTheEngineRefusesShowsBothBoxesAndKeepsTheOldOne) {
    startWithThreeLanguages(false);
    m_fake.setStatus("EngineSelectLanguage", -28);

    m_voice->languageCommand(&m_panel, 601);

    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_EQ(boxes()[1].text, "Selected Langauge is not available!");
    EXPECT_EQ(m_context.appState.Language, 1);
    EXPECT_EQ(m_fake.callsTo("EngineSetVoiceParameters").size(), 0u);
    EXPECT_EQ(m_hooks, (Log{"store"}));
}

TEST_F(VoiceSelectionTest, VoiceFailureAfterASwitchIsOwnedByTheReceivingWindow) {
    startWithThreeLanguages(false);
    m_fake.setStatus("EngineSetVoiceParameters", -14);
    m_voice->languageCommand(&m_panel, 601);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].owner, &m_panel);
    EXPECT_EQ(m_context.appState.Language, 2);
}

// ---- Speaker, frequency, Defaults, sliders ------------------------------------------------------

TEST_F(VoiceSelectionTest, SpeakerCommandChecksStoresAndSends) {
    startWithThreeLanguages(true);
    m_bar->setChecked(500, true);

    EXPECT_TRUE(m_voice->handleCommand(&m_window, 504));

    EXPECT_EQ(m_fake.calls(), (std::vector<EngineCall>{voice(-1, 5, -1, -1)}));
    EXPECT_EQ(m_context.appState.Speaker[0], 5);
    EXPECT_FALSE(m_bar->isChecked(500));
    EXPECT_TRUE(m_bar->isChecked(504));

    m_fake.setStatus("EngineSetVoiceParameters", -14);
    m_voice->speakerCommand(&m_panel, 508);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].owner, &m_panel);
    EXPECT_EQ(m_context.appState.Speaker[0], 9);
    EXPECT_TRUE(m_bar->isChecked(508));
    EXPECT_FALSE(m_bar->isChecked(504));
}

TEST_F(VoiceSelectionTest, SpeakerCommandsAreNotVoiceCommandsInNormalMode) {
    startWithThreeLanguages(false);
    EXPECT_FALSE(m_voice->handleCommand(&m_window, 504));
    EXPECT_TRUE(m_fake.calls().empty());
    EXPECT_FALSE(m_voice->handleCommand(&m_window, 140));
}

TEST_F(VoiceSelectionTest, FrequencyCommandSetsTheEngineThenTheCheckMark) {
    startWithThreeLanguages(true);
    ASSERT_TRUE(m_bar->isChecked(131));

    EXPECT_TRUE(m_voice->handleCommand(&m_window, 134));

    EXPECT_EQ(m_fake.calls(),
              (std::vector<EngineCall>{call("EngineSetFrequency", {kInstance, 7})}));
    EXPECT_EQ(m_context.appState.Frequency, 7);
    EXPECT_TRUE(m_bar->isChecked(134));
    EXPECT_FALSE(m_bar->isChecked(131));

    m_fake.setStatus("EngineSetFrequency", -13);
    m_voice->frequencyCommand(&m_panel, 133);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].owner, &m_panel);
    EXPECT_EQ(m_context.appState.Frequency, 7);
    EXPECT_TRUE(m_bar->isChecked(134));
    EXPECT_FALSE(m_bar->isChecked(133));
}

TEST_F(VoiceSelectionTest, EachFrequencyCommandSendsItsCode) {
    startWithThreeLanguages(true);
    for (const auto& [command, code] : {std::pair{131, 10}, {132, 11}, {133, 8}, {134, 7}}) {
        m_fake.clearCalls();
        m_voice->frequencyCommand(&m_window, command);
        EXPECT_EQ(m_fake.calls(),
                  (std::vector<EngineCall>{call("EngineSetFrequency", {kInstance, code})}));
    }
}

TEST_F(VoiceSelectionTest, DefaultsRestoreTheVoiceOfTheCurrentLanguage) {
    startWithThreeLanguages(true);
    context::AppState& state = m_context.appState;
    state.Volume[0] = 2;
    state.Pitch[0] = 9;
    state.Rate[0] = 1;
    state.Speaker[0] = 6;
    state.Volume[1] = 3;
    m_voice->SyncVoiceControls();

    EXPECT_TRUE(m_voice->handleCommand(&m_window, 114));

    EXPECT_EQ(m_fake.calls(), (std::vector<EngineCall>{voice(8, 1, 5, 5)}));
    EXPECT_EQ(state.Volume[0], 8);
    EXPECT_EQ(state.Pitch[0], 5);
    EXPECT_EQ(state.Rate[0], 5);
    EXPECT_EQ(state.Speaker[0], 1);
    EXPECT_EQ(state.Volume[1], 3);
    EXPECT_EQ(m_volume->value(), 8);
    EXPECT_EQ(m_pitch->value(), 5);
    EXPECT_EQ(m_rate->value(), 5);
    EXPECT_TRUE(m_bar->isChecked(500));
    EXPECT_FALSE(m_bar->isChecked(505));
}

TEST_F(VoiceSelectionTest, EachSliderSendsVolumeRateAndPitchWithTheSpeakerUnchanged) {
    startWithThreeLanguages(false);
    m_volume->setValue(3);
    m_voice->trackbarChange(&m_window, m_volume);
    m_pitch->setValue(7);
    m_voice->trackbarChange(&m_window, m_pitch);
    m_rate->setValue(2);
    m_voice->trackbarChange(&m_window, m_rate);
    QSlider stray(Qt::Horizontal);  // any other slider counts as the rate slider
    stray.setRange(1, 9);
    stray.setValue(9);
    m_voice->trackbarChange(&m_window, &stray);

    EXPECT_EQ(m_fake.calls(), (std::vector<EngineCall>{voice(3, -1, 5, 5), voice(3, -1, 5, 7),
                                                       voice(3, -1, 2, 7), voice(3, -1, 9, 7)}));
    EXPECT_EQ(m_context.appState.Rate[0], 9);

    m_fake.setStatus("EngineSetVoiceParameters", -14);
    m_voice->trackbarChange(&m_panel, m_volume);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].owner, &m_panel);
}

TEST_F(VoiceSelectionTest, SyncingTheSlidersIsNotAUserChange) {
    startWithThreeLanguages(false);
    QSignalSpy moved(m_volume, &QSlider::valueChanged);
    m_context.appState.Volume[0] = 4;
    m_voice->SyncVoiceControls();
    EXPECT_EQ(m_volume->value(), 4);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_TRUE(m_fake.calls().empty());
}

TEST_F(VoiceSelectionTest, SyncChecksOnlyATextSourceFromThePlayMode) {
    startWithThreeLanguages(false);
    m_context.appState.PlayMode = 101;
    m_voice->SyncVoiceControls();
    EXPECT_FALSE(m_bar->isChecked(101));
    m_context.appState.PlayMode = 135;
    m_voice->SyncVoiceControls();
    EXPECT_TRUE(m_bar->isChecked(135));
}

// Speaker item k has command 499 + k: a stored speaker of 101 would tick the first language,
// one of -362 the Keyboard source.
TEST_F(VoiceSelectionTest, SyncChecksOnlyASpeakerTheMenuOffers) {
    startWithThreeLanguages(true);
    for (const int32_t speaker : {101, -362, 0, 10}) {
        m_context.appState.Speaker[0] = speaker;
        m_voice->SyncVoiceControls();
        EXPECT_EQ(checkedCommands(), (std::vector<int>{131})) << speaker;
    }
    m_context.appState.Speaker[0] = 9;
    m_voice->SyncVoiceControls();
    EXPECT_EQ(checkedCommands(), (std::vector<int>{131, 508}));
}

TEST_F(VoiceSelectionTest, ClearingFrequencyChecksLeavesOtherChecks) {
    startWithThreeLanguages(true);
    m_bar->setCheckedRange(131, 134, true);
    m_bar->setChecked(140, true);
    m_voice->ClearFrequencyChecks();
    EXPECT_EQ(checkedCommands(), (std::vector<int>{140}));
}

}  // namespace
