#include "resources/generationprogresstemplate.h"

namespace resources {

const platform::DialogTemplate& generationProgressTemplate() {
    using platform::DialogItemKind;
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

}  // namespace resources
