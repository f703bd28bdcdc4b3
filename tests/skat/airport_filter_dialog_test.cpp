#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "shell/skat/airport_filter_dialog.h"

namespace {

// Runs `act` on the filter dialog once it is open modally.
void WithComingDialog(std::function<void(AirportFilterDialog&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<AirportFilterDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST(AirportFilterDialog, ShowsTheCurrentLengthWithItsTexts) {
  AirportFilterDialog dialog(nullptr, 3000);
  EXPECT_EQ(dialog.windowTitle(), "Airport filter");
  EXPECT_EQ(dialog.findChild<QLabel*>("text")->text(),
            "During scenery scanning process, do not add airports for which runway length is "
            "shorter than :");
  EXPECT_EQ(dialog.findChild<QLabel*>("unit")->text(), "feets");
  EXPECT_EQ(dialog.okButton()->text(), "OK");
  EXPECT_TRUE(dialog.okButton()->isDefault());
  EXPECT_EQ(dialog.lengthField()->text(), "3000");
  EXPECT_EQ(dialog.lengthFt(), 3000u);
}

TEST(AirportFilterDialog, FieldTakesDigitsOnly) {
  AirportFilterDialog dialog(nullptr, 3000);
  dialog.show();
  QLineEdit* field = dialog.lengthField();
  field->clear();
  QTest::keyClicks(field, "2-5a0 0.");
  EXPECT_EQ(field->text(), "2500");
  EXPECT_EQ(dialog.lengthFt(), 2500u);
  field->clear();
  EXPECT_EQ(dialog.lengthFt(), 0u);  // an empty field lets every runway through
  QTest::keyClicks(field, "99999999999");
  EXPECT_EQ(field->text(), "9999999999");
  EXPECT_EQ(dialog.lengthFt(), std::numeric_limits<unsigned>::max());
}

TEST(AirportFilterDialog, OkGivesTheTypedLengthCancelAndEscapeGiveNothing) {
  WithComingDialog([](AirportFilterDialog& dialog) {
    EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");
    dialog.lengthField()->selectAll();
    QTest::keyClicks(dialog.lengthField(), "4500");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  });
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::optional<unsigned>(4500));

  WithComingDialog([](AirportFilterDialog& dialog) {
    dialog.lengthField()->clear();
    QTest::keyClick(dialog.lengthField(), Qt::Key_Return);
  });
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::optional<unsigned>(0));

  WithComingDialog([](AirportFilterDialog& dialog) { dialog.close(); });
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::nullopt);
  WithComingDialog([](AirportFilterDialog& dialog) {
    QTest::keyClicks(dialog.lengthField(), "1");
    QTest::keyClick(dialog.lengthField(), Qt::Key_Escape);
  });
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::nullopt);
  WithComingDialog([](AirportFilterDialog& dialog) {
    QTest::keyClicks(dialog.lengthField(), "1");
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
  });
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::nullopt);
}

TEST(AirportFilterDialog, PresetAnswersSkipTheDialog) {
  AirportFilterDialog::setNextAnswer(1200u);
  AirportFilterDialog::setNextAnswer(std::nullopt);
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::optional<unsigned>(1200));
  EXPECT_EQ(AskAirportFilter(nullptr, 3000), std::nullopt);
  AirportFilterDialog::clearNextAnswers();
}

}  // namespace
