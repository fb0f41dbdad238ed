#pragma once

#include "platform/dialogtemplate.h"

namespace resources {

// Dialog 3000, "Generating PCM Data File": a line of text and Cancel.
inline constexpr int kGenerationProgressDialog = 3000;
inline constexpr int kGenerationCancel = 2;
const platform::DialogTemplate& generationProgressTemplate();

// Dialog 3006, "About Quenvar TTS Engine ...": what the engine tells about the current language
// and about itself, in disabled fields.
inline constexpr int kEngineInfoDialog = 3006;
enum EngineInfoItem : int {
    kEngineInfoCountry = 1000,
    kEngineInfoCodingScheme = 1001,
    kEngineInfoSpeakers = 1002,
    kEngineInfoLanguage = 1005,
    kEngineInfoManufacturer = 1009,
    kEngineInfoNotice = 1010,
    kEngineInfoVersion = 1011,
    kEngineInfoIcon = 103,
    kEngineInfoOk = 1,
};
const platform::DialogTemplate& engineInfoTemplate();

// Dialog 164, "Set Data for Acceleration Rule": the two rules' maximum lengths.
inline constexpr int kAccelerationDialog = 164;
enum AccelerationItem : int {
    kFirstRuleLength = 200,
    kSecondRuleLength = 201,
    kAccelerationOk = 1,
    kAccelerationCancel = 2,
};
const platform::DialogTemplate& accelerationTemplate();

// The pages of the sheet "Set System Speech Mode": dialog 3008 with the speech modes (radio
// buttons 800 to 802) and dialog 3009 with the interrupt modes (803 and 804).
inline constexpr int kSpeechModePage = 3008;
inline constexpr int kInterruptPage = 3009;
inline constexpr int kFirstSpeechModeButton = 800;
inline constexpr int kFirstInterruptButton = 803;
const platform::DialogTemplate& speechModePageTemplate();
const platform::DialogTemplate& interruptPageTemplate();

// Dialog 700, "Unload User Dictionaries": the current language's name, the loaded list, the
// unload list and the two buttons that move entries between the lists.
inline constexpr int kUnloadDictionariesDialog = 700;
enum UnloadDictionariesItem : int {
    kLanguageNameField = 701,
    kLoadedList = 702,
    kUnloadList = 703,
    kLoadButton = 705,
    kUnloadButton = 706,
};
const platform::DialogTemplate& unloadDictionariesTemplate();

// Dialog 3001, "About Quenvar Voxtrial ...": the icon, the program's name and version, the
// maker's name (set when the box opens) and OK.
inline constexpr int kAboutDialog = 3001;
enum AboutItem : int {
    kAboutIcon = 1990,
    kAboutMaker = 102,
    kAboutOk = 1,
};
const platform::DialogTemplate& aboutTemplate();

// Dialog 3002, "All members of Text-To-Speech": a picture button that switches between the
// group picture and the list of names, a hint below it and Close.
inline constexpr int kGroupPictureDialog = 3002;
enum GroupPictureItem : int {
    kGroupPicture = 100,
    kGroupPictureHint = 1000,
    kGroupPictureClose = 1,
};
const platform::DialogTemplate& groupPictureTemplate();

// Dialog 3004, "Members of Supporting Group": the free software the program stands on, in
// alphabetical order, each with its licence, and OK.
inline constexpr int kSupportingGroupDialog = 3004;
inline constexpr int kSupportingGroupOk = 1;
const platform::DialogTemplate& supportingGroupTemplate();

}  // namespace resources
