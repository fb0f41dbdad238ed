#include "resources/unloaddictionariestemplate.h"

namespace resources {
namespace {

// Items the dialog never addresses, such as labels, share this id.
constexpr int kNoId = -1;

}  // namespace

const platform::DialogTemplate& unloadDictionariesTemplate() {
    using platform::DialogItemKind;
    static const platform::DialogTemplate dialog{
        kUnloadDictionariesDialog,
        QStringLiteral("Unload User Dictionaries"),
        237,
        192,
        {
            {DialogItemKind::DefaultPushButton, 1, QStringLiteral("OK"), 174, 13, 50, 14},
            {DialogItemKind::PushButton, 2, QStringLiteral("Cancel"), 174, 31, 50, 14},
            {DialogItemKind::Label, kNoId, QStringLiteral("Language :"), 11, 13, 42, 11},
            {DialogItemKind::Edit, kLanguageNameField, QString(), 53, 12, 111, 12},
            {DialogItemKind::Label, kNoId, QStringLiteral("Loaded Dictionaries :"), 11, 42, 97, 9},
            {DialogItemKind::ListBox, kLoadedList, QString(), 11, 53, 212, 45},
            {DialogItemKind::Label, kNoId, QStringLiteral("Dictionaries to be unloaded :"), 11, 126,
             98, 9},
            {DialogItemKind::ListBox, kUnloadList, QString(), 11, 137, 213, 45},
            {DialogItemKind::PushButton, kLoadButton, QStringLiteral("Load"), 38, 103, 57, 17},
            {DialogItemKind::PushButton, kUnloadButton, QStringLiteral("Unload"), 129, 103, 60, 18},
        }};
    return dialog;
}

}  // namespace resources
