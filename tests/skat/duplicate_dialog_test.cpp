#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "shell/skat/duplicate_dialog.h"

namespace {

const std::string kExistingNdb =
    "PGS    PARIS GARE                352.5      N48\xB0"
    "51'24.00 E002\xB0"
    "21'00.00    135      25";
const std::string kNewNdb =
    "PGS    PARIS GARE                352.5      N48\xB0"
    "51'30.00 E002\xB0"
    "21'06.00    135      25";

scanner::DuplicateRequest NdbRequest() {
  return {navdb::NavaidKind::Ndb, 12, kExistingNdb, kNewNdb};
}

QFont ListFont() {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setPixelSize(12);
  return font;
}

QString TextOf(const DuplicateDialog& dialog, const char* name) {
  auto* label = dialog.findChild<QLabel*>(name);
  return label ? label->text() : QStringLiteral("<missing>");
}

class DuplicateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DuplicateDialog::clearNextAnswers();
    DuplicateDialog::clearShown();
  }
  void TearDown() override { DuplicateDialog::clearNextAnswers(); }
};

TEST_F(DuplicateDialogTest, ShowsBothLinesInTheListFontUnderTheFixedTexts) {
  DuplicateDialog dialog(nullptr, NdbRequest(), ListFont());
  EXPECT_EQ(dialog.windowTitle(), "Double entry warning !");
  EXPECT_EQ(TextOf(dialog, "existingLabel"), "This NDB is already in the list :");
  EXPECT_EQ(TextOf(dialog, "newLabel"),
            "and this one, with same ID & Name, is going to be added :");
  EXPECT_EQ(TextOf(dialog, "chooseText"), "Choose the one(s) you want to keep");
  EXPECT_EQ(TextOf(dialog, "existingLine"),
            QString::fromUtf8("PGS    PARIS GARE                352.5      N48\u00B051'24.00 "
                              "E002\u00B021'00.00    135      25"));
  EXPECT_EQ(TextOf(dialog, "newLine"),
            QString::fromUtf8("PGS    PARIS GARE                352.5      N48\u00B051'30.00 "
                              "E002\u00B021'06.00    135      25"));
  for (const char* name : {"existingLine", "newLine"}) {
    const QFont font = dialog.findChild<QLabel*>(name)->font();
    EXPECT_EQ(font.family(), "Liberation Mono");
    EXPECT_EQ(font.pixelSize(), 12);
  }
  EXPECT_EQ(dialog.keepExistingButton()->text(), "Keep only");
  EXPECT_EQ(dialog.keepExistingAlwaysButton()->text(), "Keep always");
  EXPECT_EQ(dialog.keepBothButton()->text(), "Keep both");
  EXPECT_EQ(dialog.keepBothAlwaysButton()->text(), "Keep always");
  EXPECT_EQ(dialog.keepNewButton()->text(), "Keep only");
  EXPECT_EQ(dialog.keepNewAlwaysButton()->text(), "Keep always");
  EXPECT_EQ(dialog.abortButton()->text(), "Abort scanning");

  // Each pair stands beside its line; "Keep both" between the two lines.
  dialog.show();
  const int existingY = dialog.findChild<QLabel*>("existingLine")->geometry().center().y();
  const int newY = dialog.findChild<QLabel*>("newLine")->geometry().center().y();
  EXPECT_NEAR(dialog.keepExistingButton()->geometry().center().y(), existingY, 3);
  EXPECT_NEAR(dialog.keepNewAlwaysButton()->geometry().center().y(), newY, 3);
  const int bothY = dialog.keepBothButton()->geometry().center().y();
  EXPECT_GT(bothY, existingY);
  EXPECT_LT(bothY, newY);
  EXPECT_GT(dialog.abortButton()->geometry().top(), newY);
}

TEST_F(DuplicateDialogTest, LabelNamesTheKindOfEntry) {
  const char* labels[] = {"This NDB is already in the list :", "This VOR is already in the list :",
                          "This Airport's runway is already in the list :",
                          "This Intersection is already in the list :"};
  for (navdb::NavaidKind kind : navdb::kAllKinds) {
    DuplicateDialog dialog(nullptr, {kind, 0, "A", "B"}, ListFont());
    EXPECT_EQ(TextOf(dialog, "existingLabel"), labels[navdb::IndexOf(kind)]);
  }
}

TEST_F(DuplicateDialogTest, EveryButtonGivesItsAnswer) {
  struct Case {
    QPushButton* (DuplicateDialog::*button)() const;
    scanner::DuplicateOutcome outcome;
    bool always;
  };
  const Case cases[] = {
      {&DuplicateDialog::keepExistingButton, scanner::DuplicateOutcome::KeepExisting, false},
      {&DuplicateDialog::keepExistingAlwaysButton, scanner::DuplicateOutcome::KeepExisting, true},
      {&DuplicateDialog::keepBothButton, scanner::DuplicateOutcome::KeepBoth, false},
      {&DuplicateDialog::keepBothAlwaysButton, scanner::DuplicateOutcome::KeepBoth, true},
      {&DuplicateDialog::keepNewButton, scanner::DuplicateOutcome::KeepNew, false},
      {&DuplicateDialog::keepNewAlwaysButton, scanner::DuplicateOutcome::KeepNew, true},
      {&DuplicateDialog::abortButton, scanner::DuplicateOutcome::AbortScan, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.outcome) * 10 + c.always);
    DuplicateDialog dialog(nullptr, NdbRequest(), ListFont());
    dialog.show();
    QTest::mouseClick((dialog.*c.button)(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.answer().outcome, c.outcome);
    EXPECT_EQ(dialog.answer().always, c.always);
  }
}

TEST_F(DuplicateDialogTest, EscapeAbortsTheScan) {
  DuplicateDialog dialog(nullptr, NdbRequest(), ListFont());
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.answer().outcome, scanner::DuplicateOutcome::AbortScan);
  EXPECT_FALSE(dialog.answer().always);
}

TEST_F(DuplicateDialogTest, AskRunsTheModalDialogOverTheMainWindow) {
  QWidget mainWindow;
  mainWindow.setGeometry(100, 80, 1200, 700);
  mainWindow.show();
  QRect dialogFrame;
  QTimer::singleShot(0, [&dialogFrame] {
    auto* dialog = qobject_cast<DuplicateDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialogFrame = dialog->frameGeometry();
    dialog->keepBothAlwaysButton()->click();
  });
  const scanner::DuplicateAnswer answer = AskDuplicate(&mainWindow, NdbRequest(), ListFont());
  EXPECT_EQ(answer.outcome, scanner::DuplicateOutcome::KeepBoth);
  EXPECT_TRUE(answer.always);
  EXPECT_EQ(dialogFrame.top(), mainWindow.frameGeometry().top());
  EXPECT_NEAR(dialogFrame.center().x(), mainWindow.frameGeometry().center().x(), 1);
  ASSERT_EQ(DuplicateDialog::shown().size(), 1u);
  EXPECT_EQ(DuplicateDialog::shown()[0].newLine, kNewNdb);
}

TEST_F(DuplicateDialogTest, PresetAnswersSkipTheModalLoopInOrder) {
  DuplicateDialog::setNextAnswer({scanner::DuplicateOutcome::KeepNew, false});
  DuplicateDialog::setNextAnswer({scanner::DuplicateOutcome::AbortScan, false});
  scanner::DuplicateAnswer first = AskDuplicate(nullptr, NdbRequest(), ListFont());
  EXPECT_EQ(first.outcome, scanner::DuplicateOutcome::KeepNew);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  scanner::DuplicateRequest vor{navdb::NavaidKind::Vor, 3, "VOR A", "VOR B"};
  EXPECT_EQ(AskDuplicate(nullptr, vor, ListFont()).outcome, scanner::DuplicateOutcome::AbortScan);
  ASSERT_EQ(DuplicateDialog::shown().size(), 2u);
  EXPECT_EQ(DuplicateDialog::shown()[0].existingLine, kExistingNdb);
  EXPECT_EQ(DuplicateDialog::shown()[1].kind, navdb::NavaidKind::Vor);
  EXPECT_EQ(DuplicateDialog::shown()[1].row, 3);
}

TEST_F(DuplicateDialogTest, AScanWorkerWaitsWhileTheGuiThreadAsks) {
  // The worker's request reaches the GUI thread at some later turn of its
  // event loop: answer once the dialog is there.
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<DuplicateDialog*>(QApplication::activeModalWidget())) {
      dialog->keepNewButton()->click();
    }
  });
  answerer.start(10);
  std::atomic<bool> done = false;
  scanner::DuplicateAnswer answer;
  std::thread worker([&] {
    answer = AskDuplicate(nullptr, NdbRequest(), ListFont());
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  worker.join();
  EXPECT_EQ(answer.outcome, scanner::DuplicateOutcome::KeepNew);
  EXPECT_FALSE(answer.always);
  EXPECT_EQ(DuplicateDialog::shown().size(), 1u);
}

}  // namespace
