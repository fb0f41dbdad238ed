#include "hooks/accelerationrules.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "context/programcontext.h"
#include "fakeengine/fakeengine.h"
#include "resources/dialogtemplates.h"

namespace {

using testsupport::EngineArg;
using testsupport::EngineCall;
using Args = std::vector<EngineArg>;

TEST(RuleLength, ReadsLikeTheCLibrary) {
    const std::vector<std::pair<QString, int32_t>> cases{
        {" 42abc", 42},
        {"", 0},
        {"-7", -7},
        {"+5", 5},
        {"abc", 0},
        {"  -0012", -12},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483648},
        {"0000000000000000001234", 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(hooks::ruleLengthOf(text), value) << text.toStdString();
    }
}

class AccelerationDialogTest : public ::testing::Test {
  protected:
    AccelerationDialogTest() {
        m_program.session.engine = &testsupport::FakeEngine::ops();
        m_program.session.engineInstance = 1;
    }
    std::unique_ptr<QDialog> open() {
        return hooks::makeAccelerationDialog(m_program.session, nullptr);
    }
    static QLineEdit& field(QDialog& dialog, int id) {
        return *qobject_cast<QLineEdit*>(platform::findItem(dialog, id));
    }
    static void press(QDialog& dialog, int id) {
        qobject_cast<QPushButton*>(platform::findItem(dialog, id))->click();
    }

    testsupport::FakeEngine m_engine;
    context::ProgramContext m_program;
};

TEST_F(AccelerationDialogTest, OkSendsWhatWasTypedAndCancelSendsNothing) {
    auto dialog = open();
    EXPECT_EQ(field(*dialog, resources::kFirstRuleLength).text(), "256");
    EXPECT_EQ(field(*dialog, resources::kSecondRuleLength).text(), "0");
    press(*dialog, resources::kAccelerationOk);
    EXPECT_EQ(dialog->result(), 1);

    dialog = open();
    field(*dialog, resources::kFirstRuleLength).setText(" 42 rules");
    field(*dialog, resources::kSecondRuleLength).setText("-7");
    press(*dialog, resources::kAccelerationOk);

    dialog = open();
    field(*dialog, resources::kFirstRuleLength).setText("1");
    press(*dialog, resources::kAccelerationCancel);
    EXPECT_EQ(dialog->result(), 1);
    dialog = open();
    dialog->reject();  // Escape or the close box
    EXPECT_EQ(dialog->result(), 1);

    const std::vector<EngineCall> expected{{"EngineSetAccelerationRule", Args{1, 256, 0}},
                                           {"EngineSetAccelerationRule", Args{1, 42, -7}}};
    EXPECT_EQ(m_engine.calls(), expected);
}

}  // namespace
