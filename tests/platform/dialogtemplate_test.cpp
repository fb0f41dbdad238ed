#include "platform/dialogtemplate.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace {

using platform::DialogItem;
using platform::DialogItemKind;
using platform::DialogTemplate;
using platform::DialogUnits;

TEST(DialogUnits, FourHorizontalUnitsAreOneAverageCharacterAndEightVerticalOneLine) {
    QWidget dialog;
    QFont font = dialog.font();
    font.setPixelSize(13);
    dialog.setFont(font);
    const QFontMetrics metrics(font);
    const int averageWidth = static_cast<int>(std::lround(
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0));
    const DialogUnits units(dialog);
    EXPECT_EQ(units.toPixelsX(4), averageWidth);
    EXPECT_EQ(units.toPixelsY(8), metrics.height());
    EXPECT_EQ(units.toPixelsX(400), averageWidth * 100);
    EXPECT_EQ(units.toPixelsY(0), 0);
    EXPECT_EQ(units.toPixelsY(3), static_cast<int>(std::lround(3 * metrics.height() / 8.0)));
}

DialogTemplate sampleTemplate() {
    return DialogTemplate{300,
                          "Frequency",
                          160,
                          100,
                          {
                              {DialogItemKind::Frame, 10, "Rate", 5, 5, 70, 60},
                              {DialogItemKind::RadioButton, 11, "8 kHz", 10, 15, 50, 10},
                              {DialogItemKind::RadioButton, 12, "10 kHz", 10, 30, 50, 10},
                              {DialogItemKind::Frame, 20, "Mode", 80, 5, 70, 60},
                              {DialogItemKind::RadioButton, 21, "Fast", 85, 15, 50, 10},
                              {DialogItemKind::RadioButton, 22, "Slow", 85, 30, 50, 10},
                              {DialogItemKind::Label, 29, "&Voice:", 80, 68, 30, 8},
                              {DialogItemKind::Label, 28, "Fish && chips", 80, 76, 60, 8},
                              {DialogItemKind::ComboBox, 30, "", 5, 68, 70, 60},
                              {DialogItemKind::DefaultPushButton, 1, "OK", 30, 82, 50, 14},
                              {DialogItemKind::PushButton, 2, "Cancel", 90, 82, 50, 14},
                          }};
}

TEST(BuildDialog, PlacesEveryItemInPixelsByItsId) {
    QWidget owner;
    const DialogTemplate dialogTemplate = sampleTemplate();
    const std::unique_ptr<QDialog> dialog = platform::buildDialog(dialogTemplate, &owner);
    const DialogUnits units(*dialog);
    EXPECT_EQ(dialog->windowTitle(), "Frequency");
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->parentWidget(), &owner);
    EXPECT_EQ(dialog->size(), QSize(units.toPixelsX(160), units.toPixelsY(100)));
    for (const DialogItem& item : dialogTemplate.items) {
        QWidget* widget = platform::findItem(*dialog, item.id);
        ASSERT_NE(widget, nullptr) << item.id;
        EXPECT_EQ(widget->pos(), QPoint(units.toPixelsX(item.x), units.toPixelsY(item.y)));
        EXPECT_EQ(widget->width(), units.toPixelsX(item.width));
    }
    EXPECT_EQ(platform::findItem(*dialog, 99), nullptr);
    EXPECT_EQ(qobject_cast<QGroupBox*>(platform::findItem(*dialog, 10))->title(), "Rate");
    EXPECT_TRUE(qobject_cast<QPushButton*>(platform::findItem(*dialog, 1))->isDefault());
    EXPECT_FALSE(qobject_cast<QPushButton*>(platform::findItem(*dialog, 2))->isDefault());
    EXPECT_LT(platform::findItem(*dialog, 30)->height(), units.toPixelsY(60))
        << "a combo box is one line high; the template's height is its drop-down list";
    EXPECT_EQ(qobject_cast<QLabel*>(platform::findItem(*dialog, 29))->buddy(),
              platform::findItem(*dialog, 30))
        << "a label's mnemonic leads to the next item that takes the focus";
    EXPECT_EQ(qobject_cast<QLabel*>(platform::findItem(*dialog, 28))->buddy(), nullptr);
}

TEST(BuildDialog, ATextTooWideForItsItemWidensTheWholeLayoutAndOnlyTallItemsWrap) {
    const DialogTemplate dialogTemplate{
        301,
        "Narrow",
        100,
        40,
        {
            {DialogItemKind::Label, 1, "A label far too long for eight units", 4, 4, 8, 8},
            {DialogItemKind::Label, 2, "Two lines of room for a label that wraps", 4, 14, 40, 16},
            {DialogItemKind::PushButton, 3, "OK", 60, 20, 30, 14},
        }};
    const std::unique_ptr<QDialog> dialog = platform::buildDialog(dialogTemplate, nullptr);
    auto* tooLong = qobject_cast<QLabel*>(platform::findItem(*dialog, 1));
    const QFontMetrics metrics(tooLong->font());
    EXPECT_FALSE(tooLong->wordWrap());
    EXPECT_TRUE(qobject_cast<QLabel*>(platform::findItem(*dialog, 2))->wordWrap());
    EXPECT_GE(tooLong->width(), metrics.horizontalAdvance(tooLong->text()));
    // Every horizontal measure grows by the same factor; the vertical ones stay.
    const QWidget* ok = platform::findItem(*dialog, 3);
    const double factor = tooLong->width() / 8.0;
    EXPECT_NEAR(ok->x(), 60 * factor, 1.0);
    EXPECT_NEAR(dialog->width(), 100 * factor, 1.0);
    EXPECT_EQ(ok->height(), DialogUnits(*dialog).toPixelsY(14));
}

TEST(BuildDialog, RadioButtonsAreExclusiveWithinTheirFrameOnly) {
    const std::unique_ptr<QDialog> dialog = platform::buildDialog(sampleTemplate(), nullptr);
    const auto radio = [&](int id) {
        return qobject_cast<QRadioButton*>(platform::findItem(*dialog, id));
    };
    radio(11)->click();
    radio(21)->click();
    radio(12)->click();
    EXPECT_FALSE(radio(11)->isChecked());
    EXPECT_TRUE(radio(12)->isChecked());
    EXPECT_TRUE(radio(21)->isChecked()) << "the other frame's choice stays";
}

}  // namespace
