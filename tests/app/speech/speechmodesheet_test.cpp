#include "speech/speechmodesheet.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <tuple>

#include "context/programcontext.h"

namespace speechtest {
namespace {

TEST(SpeechModeBits, CombinesBothChoices) {
    EXPECT_EQ(speech::SpeechModeBits(0, 0), 0x11);
    EXPECT_EQ(speech::SpeechModeBits(1, 1), 0x0A);
    EXPECT_EQ(speech::SpeechModeBits(2, 1), 0x0C);
    EXPECT_EQ(speech::SpeechModeBits(3, 2), 0x00);
}

// The sheet driven as a user would: radio buttons, tabs, OK and Cancel.
class SpeechModeSheetTest : public ::testing::Test {
  protected:
    void open() { m_sheet = speech::makeSpeechModeSheet(m_program.choices, nullptr); }
    QRadioButton& radio(const QString& text) const {
        for (QRadioButton* button : m_sheet->findChildren<QRadioButton*>()) {
            if (button->text() == text) {
                return *button;
            }
        }
        throw std::runtime_error("no such radio button");
    }
    void showPage(int index) const { m_sheet->findChild<QTabWidget*>()->setCurrentIndex(index); }
    void press(QDialogButtonBox::StandardButton which) const {
        m_sheet->findChild<QDialogButtonBox*>()->button(which)->click();
    }
    std::pair<int32_t, int32_t> choices() const {
        return {m_program.choices.speechModeChoice, m_program.choices.interruptChoice};
    }

    context::ProgramContext m_program;
    std::unique_ptr<QDialog> m_sheet;
};

TEST_F(SpeechModeSheetTest, AChoiceCountsWhenItsPageIsLeft) {
    open();
    EXPECT_TRUE(radio("Speak Directly").isChecked());
    radio("Interrupt Speech").setChecked(true);
    showPage(1);
    EXPECT_TRUE(radio("Not Interruptible").isChecked());
    radio("Interruptible").setChecked(true);
    press(QDialogButtonBox::Ok);
    EXPECT_EQ(choices(), std::make_pair(2, 1));

    open();  // the last choices are shown again
    EXPECT_TRUE(radio("Interrupt Speech").isChecked());
    radio("Put Text in Queue").setChecked(true);
    showPage(1);
    radio("Not Interruptible").setChecked(true);
    press(QDialogButtonBox::Cancel);
    EXPECT_EQ(choices(), std::make_pair(1, 1));  // only the page showing was dropped
}

TEST_F(SpeechModeSheetTest, EscapeCancelsAndReturnConfirmsTheWholeSheetFromAnyPage) {
    for (const auto& [key, result, expected] :
         {std::tuple{Qt::Key_Escape, int(QDialog::Rejected), std::make_pair(0, 0)},
          std::tuple{Qt::Key_Return, int(QDialog::Accepted), std::make_pair(0, 1)}}) {
        open();
        m_sheet->show();
        showPage(1);
        QRadioButton& interruptible = radio("Interruptible");
        interruptible.setFocus();
        interruptible.setChecked(true);
        QTest::keyClick(&interruptible, key);
        EXPECT_FALSE(m_sheet->isVisible()) << key;
        EXPECT_EQ(m_sheet->result(), result) << key;
        EXPECT_EQ(choices(), expected) << key;
        EXPECT_TRUE(m_sheet->findChild<QTabWidget*>()->currentWidget()->isVisibleTo(m_sheet.get()))
            << "the page stays in its tab";
    }
}

}  // namespace
}  // namespace speechtest
