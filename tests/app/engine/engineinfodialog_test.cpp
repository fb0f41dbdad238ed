#include "engine/engineinfodialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "context/programcontext.h"
#include "fakeengine/fakeengine.h"
#include "resources/dialogtemplates.h"

namespace {

using testsupport::FakeEngine;

// What the dialog shows, field by field, and whether the fields are disabled.
struct Shown {
    QString version, language, country, codingScheme, speakers, notice, manufacturer;
    bool fieldsDisabled = false;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
    for (const QString& text : {shown.version, shown.language, shown.country, shown.codingScheme,
                                shown.speakers, shown.notice, shown.manufacturer}) {
        *out << '"' << text.toStdString() << "\" ";
    }
    *out << (shown.fieldsDisabled ? "disabled" : "enabled");
}

Shown shownIn(QDialog& dialog) {
    const auto field = [&](int id) {
        return qobject_cast<QLineEdit*>(platform::findItem(dialog, id));
    };
    const auto label = [&](int id) {
        return qobject_cast<QLabel*>(platform::findItem(dialog, id))->text();
    };
    bool disabled = true;
    for (const int id : {resources::kEngineInfoVersion, resources::kEngineInfoLanguage,
                         resources::kEngineInfoCountry, resources::kEngineInfoCodingScheme,
                         resources::kEngineInfoSpeakers}) {
        disabled = disabled && !field(id)->isEnabled();
    }
    return Shown{field(resources::kEngineInfoVersion)->text(),
                 field(resources::kEngineInfoLanguage)->text(),
                 field(resources::kEngineInfoCountry)->text(),
                 field(resources::kEngineInfoCodingScheme)->text(),
                 field(resources::kEngineInfoSpeakers)->text(),
                 label(resources::kEngineInfoNotice),
                 label(resources::kEngineInfoManufacturer),
                 disabled};
}

TEST(EngineInfoDialog, ShowsTheCurrentLanguageAskedAnewEachTime) {
    FakeEngine engine;
    engine.setLanguageInfo(1, FakeEngine::makeLanguageInfo("1.0", "English", "USA", 9, "ANSI"));
    engine.setLanguageInfo(2, FakeEngine::makeLanguageInfo("2.5",
                                                           "Fran\xE7"
                                                           "ais",
                                                           "France", 3, "CP1252"));
    engine.setManufacturerInfo("Quenvar & Co", "(c) the authors");
    context::ProgramContext program;
    program.session.engine = &FakeEngine::ops();
    program.session.engineInstance = 1;
    program.appState.languageNumber = {1, 2};
    program.appState.Language = 1;

    auto first = engine::makeEngineInfoDialog(program.appState, program.session, nullptr);
    program.appState.Language = 2;
    auto second = engine::makeEngineInfoDialog(program.appState, program.session, nullptr);

    EXPECT_EQ(shownIn(*first), (Shown{"1.0", "English", "USA", "ANSI", "9", "(c) the authors",
                                      "Quenvar & Co", true}));
    EXPECT_EQ(shownIn(*second), (Shown{"2.5", QString::fromUtf8("Français"), "France", "CP1252",
                                       "3", "(c) the authors", "Quenvar & Co", true}));
    EXPECT_EQ(engine.callsTo("EngineGetLanguageInfo").size(), 2u);
    EXPECT_EQ(engine.callsTo("EngineGetManufacturerInfo").size(), 2u);

    qobject_cast<QPushButton*>(platform::findItem(*first, resources::kEngineInfoOk))->click();
    EXPECT_EQ(first->result(), 1);
    second->show();
    second->close();  // the close box acts as Cancel
    EXPECT_EQ(second->result(), 0);
}

}  // namespace
