#pragma once

#include "platform/dialogtemplate.h"

namespace resources {

// Dialog 700 and its items: the current language's name, the loaded list, the unload list and
// the two buttons that move entries between the lists.
enum UnloadDictionariesItem {
    kUnloadDictionariesDialog = 700,
    kLanguageNameField = 701,
    kLoadedList = 702,
    kUnloadList = 703,
    kLoadButton = 705,
    kUnloadButton = 706,
};

// Dialog template 700, "Unload User Dictionaries", in dialog units.
const platform::DialogTemplate& unloadDictionariesTemplate();

}  // namespace resources
