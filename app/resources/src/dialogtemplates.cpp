#include "resources/dialogtemplates.h"

#include <utility>

namespace resources {

using platform::DialogItemKind;

const platform::DialogTemplate& generationProgressTemplate() {
    static const platform::DialogTemplate dialog{
        kGenerationProgressDialog,
        QStringLiteral("Generating PCM Data File"),
        186,
        58,
        {
            {DialogItemKind::Label, -1,
             QStringLiteral("The system is generating PCM data file ............."), 10, 10, 166,
             18},
            {DialogItemKind::DefaultPushButton, kGenerationCancel, QStringLiteral("Cancel"), 68, 36,
             50, 14},
        }};
    return dialog;
}

const platform::DialogTemplate& engineInfoTemplate() {
    static const platform::DialogTemplate dialog{
        kEngineInfoDialog,
        QStringLiteral("About Quenvar TTS Engine ..."),
        181,
        159,
        {
            {DialogItemKind::Label, 1007, QStringLiteral("Version"), 18, 10, 75, 9},
            {DialogItemKind::Edit, kEngineInfoVersion, {}, 18, 20, 70, 12},
            {DialogItemKind::Label, 1991, QStringLiteral("Language"), 18, 35, 75, 9},
            {DialogItemKind::Edit, kEngineInfoLanguage, {}, 18, 45, 70, 12},
            {DialogItemKind::Label, 1992, QStringLiteral("Country"), 95, 10, 75, 9},
            {DialogItemKind::Edit, kEngineInfoCountry, {}, 95, 20, 70, 12},
            {DialogItemKind::Label, 1993, QStringLiteral("Coding Scheme"), 95, 35, 75, 9},
            {DialogItemKind::Edit, kEngineInfoCodingScheme, {}, 95, 45, 70, 12},
            {DialogItemKind::Label, 1994, QStringLiteral("Speaker Number"), 18, 60, 75, 9},
            {DialogItemKind::Edit, kEngineInfoSpeakers, {}, 18, 70, 30, 12},
            {DialogItemKind::Picture, kEngineInfoIcon, {}, 79, 84, 18, 20},
            {DialogItemKind::DefaultPushButton, kEngineInfoOk, QStringLiteral("OK"), 69, 114, 40,
             14},
            {DialogItemKind::Label, kEngineInfoNotice, QStringLiteral("Copy right"), 25, 132, 128,
             9},
            {DialogItemKind::Label, kEngineInfoManufacturer, QStringLiteral("Manufacturer"), 26,
             145, 128, 9},
        }};
    return dialog;
}

const platform::DialogTemplate& accelerationTemplate() {
    static const platform::DialogTemplate dialog{
        kAccelerationDialog,
        QStringLiteral("Set Data for Acceleration Rule"),
        169,
        98,
        {
            {DialogItemKind::Label, -1, QStringLiteral("Specify the number of characters!"), 15, 12,
             120, 10},
            {DialogItemKind::Label, 1000, QStringLiteral("Max. Length for 1st Rule"), 15, 33, 82,
             11},
            {DialogItemKind::Edit, kFirstRuleLength, {}, 102, 33, 49, 14},
            {DialogItemKind::Label, 1001, QStringLiteral("Max. Length for 2nd Rule"), 15, 55, 84,
             11},
            {DialogItemKind::Edit, kSecondRuleLength, {}, 102, 54, 49, 14},
            {DialogItemKind::DefaultPushButton, kAccelerationOk, QStringLiteral("OK"), 22, 81, 50,
             14},
            {DialogItemKind::PushButton, kAccelerationCancel, QStringLiteral("Cancel"), 90, 81, 50,
             14},
        }};
    return dialog;
}

const platform::DialogTemplate& speechModePageTemplate() {
    static const platform::DialogTemplate page{
        kSpeechModePage,
        QStringLiteral("Set Speak Mode"),
        160,
        90,
        {
            {DialogItemKind::Frame, 810, QStringLiteral("Set Speech Mode"), 10, 8, 140, 74},
            {DialogItemKind::RadioButton, kFirstSpeechModeButton, QStringLiteral("Speak Directly"),
             24, 24, 110, 12},
            {DialogItemKind::RadioButton, kFirstSpeechModeButton + 1,
             QStringLiteral("Put Text in Queue"), 24, 42, 110, 12},
            {DialogItemKind::RadioButton, kFirstSpeechModeButton + 2,
             QStringLiteral("Interrupt Speech"), 24, 60, 110, 12},
        }};
    return page;
}

const platform::DialogTemplate& interruptPageTemplate() {
    static const platform::DialogTemplate page{
        kInterruptPage,
        QStringLiteral("Set Interrupt Mode"),
        160,
        90,
        {
            {DialogItemKind::Frame, 811, QStringLiteral("Set Interrupt Mode"), 10, 8, 140, 74},
            {DialogItemKind::RadioButton, kFirstInterruptButton,
             QStringLiteral("Not Interruptible"), 24, 28, 110, 12},
            {DialogItemKind::RadioButton, kFirstInterruptButton + 1,
             QStringLiteral("Interruptible"), 24, 50, 110, 12},
        }};
    return page;
}

const platform::DialogTemplate& unloadDictionariesTemplate() {
    static const platform::DialogTemplate dialog{
        kUnloadDictionariesDialog,
        QStringLiteral("Unload User Dictionaries"),
        237,
        192,
        {
            {DialogItemKind::DefaultPushButton, 1, QStringLiteral("OK"), 174, 13, 50, 14},
            {DialogItemKind::PushButton, 2, QStringLiteral("Cancel"), 174, 31, 50, 14},
            {DialogItemKind::Label, -1, QStringLiteral("Language :"), 11, 13, 42, 11},
            {DialogItemKind::Edit, kLanguageNameField, {}, 53, 12, 111, 12},
            {DialogItemKind::Label, -1, QStringLiteral("Loaded Dictionaries :"), 11, 42, 97, 9},
            {DialogItemKind::ListBox, kLoadedList, {}, 11, 53, 212, 45},
            {DialogItemKind::Label, -1, QStringLiteral("Dictionaries to be unloaded :"), 11, 126,
             98, 9},
            {DialogItemKind::ListBox, kUnloadList, {}, 11, 137, 213, 45},
            {DialogItemKind::PushButton, kLoadButton, QStringLiteral("Load"), 38, 103, 57, 17},
            {DialogItemKind::PushButton, kUnloadButton, QStringLiteral("Unload"), 129, 103, 60, 18},
        }};
    return dialog;
}

const platform::DialogTemplate& aboutTemplate() {
    static const platform::DialogTemplate dialog{
        kAboutDialog,
        QStringLiteral("About Quenvar Voxtrial ..."),
        146,
        100,
        {
            {DialogItemKind::Picture, kAboutIcon, {}, 19, 12, 18, 20},
            {DialogItemKind::Label, 1991, QStringLiteral("Voxtrial"), 50, 8, 87, 11},
            {DialogItemKind::Label, 1991, QStringLiteral("Version 4.00"), 95, 21, 44, 10},
            {DialogItemKind::Label, kAboutMaker, {}, 18, 60, 122, 8},
            {DialogItemKind::DefaultPushButton, kAboutOk, QStringLiteral("OK"), 56, 81, 32, 14},
        }};
    return dialog;
}

const platform::DialogTemplate& groupPictureTemplate() {
    static const platform::DialogTemplate dialog{
        kGroupPictureDialog,
        QStringLiteral("All members of Text-To-Speech"),
        231,
        167,
        {
            {DialogItemKind::Frame, -1, {}, 5, 3, 220, 134},
            {DialogItemKind::PushButton, kGroupPicture, QStringLiteral("Photo"), 8, 9, 213, 124},
            {DialogItemKind::Label, kGroupPictureHint, {}, 5, 143, 146, 18},
            {DialogItemKind::DefaultPushButton, kGroupPictureClose, QStringLiteral("Close"), 158,
             145, 40, 14},
        }};
    return dialog;
}

// The free software under the program, by name (left column) and licence (right column).
const platform::DialogTemplate& supportingGroupTemplate() {
    static const platform::DialogTemplate dialog = [] {
        platform::DialogTemplate made{
            kSupportingGroupDialog,
            QStringLiteral("Members of Supporting Group"),
            173,
            104,
            {{DialogItemKind::Label, -1, QStringLiteral("(alphabetical order)"), 40, 4, 93, 8}}};
        const std::pair<const char*, const char*> members[] = {
            {"eSpeak NG", "GPL-3.0-or-later"},
            {"glibc iconv", "LGPL-2.1-or-later"},
            {"Google Benchmark", "Apache-2.0"},
            {"GoogleTest", "BSD-3-Clause"},
            {"libsndfile", "LGPL-2.1-or-later"},
            {"libsoxr", "LGPL-2.1-or-later"},
            {"PortAudio", "MIT"},
            {"Qt 6", "LGPL-3.0 or GPL-2.0"},
        };
        int y = 15;
        for (const auto& [name, licence] : members) {
            made.items.push_back({DialogItemKind::Label, -1, QString::fromUtf8(name), 8, y, 70, 8});
            made.items.push_back(
                {DialogItemKind::Label, -1, QString::fromUtf8(licence), 80, y, 88, 8});
            y += 8;
        }
        made.items.push_back({DialogItemKind::DefaultPushButton, kSupportingGroupOk,
                              QStringLiteral("OK"), 65, 81, 50, 14});
        return made;
    }();
    return dialog;
}

}  // namespace resources
