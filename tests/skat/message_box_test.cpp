#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"

namespace {

navdb::MessageRequest Request(std::string caption, std::string text, navdb::MessageIcon icon,
                              navdb::MessageButtons buttons, bool topmost = false) {
  return {std::move(caption), std::move(text), icon, buttons, topmost};
}

// Presses `button` of the message box that is about to open modally.
void PressInComingBox(QMessageBox::StandardButton button) {
  QTimer::singleShot(0, [button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(button)->click();
  });
}

void PressEscapeInComingBox() {
  QTimer::singleShot(0, [] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Escape);
  });
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxSeam::clearNextAnswers();
    MessageBoxSeam::clearShown();
  }
  void TearDown() override { MessageBoxSeam::clearNextAnswers(); }
};

TEST_F(MessageBoxTest, TextIsConvertedFromWindows1252AndBrokenAtEveryLineEnd) {
  EXPECT_EQ(MessageTextToQt("N48\xB0"
                            "51'"),
            QString::fromUtf8("N48\u00B051'"));
  EXPECT_EQ(MessageTextToQt("a\rb\nc\r\nd\r\re"), "a\nb\nc\nd\n\ne");
  EXPECT_EQ(QStringFromWin1252("\x80 \x93x\x94"), QString::fromUtf8("\u20AC \u201Cx\u201D"));
  EXPECT_EQ(Win1252FromQString(QString::fromUtf8("\u20AC\u00B0\u4E2D")), "\x80\xB0?");

  auto box = BuildMessageBox(
      nullptr, Request("Warning",
                       "The current resolution is lower than 800x600.\rND works fine only in "
                       "800x600 or higher res.",
                       navdb::MessageIcon::Warning, navdb::MessageButtons::Ok, true));
  EXPECT_EQ(box->windowTitle(), "Warning");
  EXPECT_EQ(box->text(),
            "The current resolution is lower than 800x600.\nND works fine only in 800x600 or "
            "higher res.");
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
  EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MessageBoxTest, ButtonSetsIconsAndDefaults) {
  auto question =
      BuildMessageBox(nullptr, Request("Warning", "Save modifications ?",
                                       navdb::MessageIcon::Question, navdb::MessageButtons::YesNo));
  EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(static_cast<QAbstractButton*>(question->defaultButton()),
            question->button(QMessageBox::Yes));
  EXPECT_EQ(question->escapeButton(), question->button(QMessageBox::No));
  EXPECT_EQ(question->icon(), QMessageBox::Question);
  EXPECT_FALSE(question->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

  // The questions that throw something away or write over it: Enter says No.
  for (const char* text : {"Do you really want to delete this NDB ?",
                           "You are going to lose any modification you've done on the database "
                           "!\r(The Intersection list will not be lost)\r\rProceed ?",
                           "The specified flight plan already exists.\n\nOverwrite ?"}) {
    auto warning = BuildMessageBox(nullptr, Request("Warning", text, navdb::MessageIcon::Warning,
                                                    navdb::MessageButtons::YesNo));
    EXPECT_EQ(static_cast<QAbstractButton*>(warning->defaultButton()),
              warning->button(QMessageBox::No))
        << text;
    EXPECT_EQ(warning->escapeButton(), warning->button(QMessageBox::No));
  }
  // "Continue with next file ?" after a file error keeps Yes.
  auto next =
      BuildMessageBox(nullptr, Request("Error", "Continue with next file ?",
                                       navdb::MessageIcon::Error, navdb::MessageButtons::YesNo));
  EXPECT_EQ(static_cast<QAbstractButton*>(next->defaultButton()), next->button(QMessageBox::Yes));

  auto retry = BuildMessageBox(
      nullptr, Request("Index Error", "Can't add index to list.", navdb::MessageIcon::Error,
                       navdb::MessageButtons::RetryCancel));
  EXPECT_EQ(retry->standardButtons(), QMessageBox::Retry | QMessageBox::Cancel);
  EXPECT_EQ(retry->icon(), QMessageBox::Critical);
  EXPECT_EQ(retry->escapeButton(), retry->button(QMessageBox::Cancel));

  auto three =
      BuildMessageBox(nullptr, Request("Information", "<b>x</b>", navdb::MessageIcon::Information,
                                       navdb::MessageButtons::YesNoCancel));
  EXPECT_EQ(three->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(three->icon(), QMessageBox::Information);
  EXPECT_EQ(three->text(), "<b>x</b>");
  EXPECT_EQ(BuildMessageBox(nullptr, Request("c", "t", navdb::MessageIcon::None,
                                             navdb::MessageButtons::OkCancel))
                ->standardButtons(),
            QMessageBox::Ok | QMessageBox::Cancel);
}

TEST_F(MessageBoxTest, RealBoxReturnsTheButtonPressed) {
  const auto yesNo = Request("Warning", "Save modifications ?", navdb::MessageIcon::Question,
                             navdb::MessageButtons::YesNo);
  PressInComingBox(QMessageBox::Yes);
  EXPECT_EQ(ShowMessageBox(nullptr, yesNo), navdb::MessageAnswer::Yes);
  PressInComingBox(QMessageBox::No);
  EXPECT_EQ(ShowMessageBox(nullptr, yesNo), navdb::MessageAnswer::No);
  PressEscapeInComingBox();
  EXPECT_EQ(ShowMessageBox(nullptr, yesNo), navdb::MessageAnswer::No);

  const auto retry = Request("Index Error", "Can't add index to list.", navdb::MessageIcon::Error,
                             navdb::MessageButtons::RetryCancel);
  PressInComingBox(QMessageBox::Retry);
  EXPECT_EQ(ShowMessageBox(nullptr, retry), navdb::MessageAnswer::Retry);
  PressEscapeInComingBox();
  EXPECT_EQ(ShowMessageBox(nullptr, retry), navdb::MessageAnswer::Cancel);

  PressInComingBox(QMessageBox::Ok);
  EXPECT_EQ(ShowMessageBox(nullptr, Request("Error", "x", navdb::MessageIcon::Error,
                                            navdb::MessageButtons::Ok)),
            navdb::MessageAnswer::Ok);
  EXPECT_EQ(MessageBoxSeam::shown().size(), 6u);
}

TEST_F(MessageBoxTest, SeamAnswersInOrderWithoutABoxAndRecordsEveryRequest) {
  MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::No);
  MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Retry);
  const auto first = Request("Warning", "Save modifications ?", navdb::MessageIcon::Question,
                             navdb::MessageButtons::YesNo);
  const auto second = Request("Index Error", "Can't add index to list.", navdb::MessageIcon::Error,
                              navdb::MessageButtons::RetryCancel, true);
  EXPECT_EQ(ShowMessageBox(nullptr, first), navdb::MessageAnswer::No);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(ShowMessageBox(nullptr, second), navdb::MessageAnswer::Retry);

  ASSERT_EQ(MessageBoxSeam::shown().size(), 2u);
  const navdb::MessageRequest& recorded = MessageBoxSeam::shown()[1];
  EXPECT_EQ(recorded.caption, "Index Error");
  EXPECT_EQ(recorded.text, "Can't add index to list.");
  EXPECT_EQ(recorded.icon, navdb::MessageIcon::Error);
  EXPECT_EQ(recorded.buttons, navdb::MessageButtons::RetryCancel);
  EXPECT_TRUE(recorded.topmost);
  EXPECT_EQ(MessageBoxSeam::shown()[0].text, "Save modifications ?");
  MessageBoxSeam::clearShown();
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
}

TEST_F(MessageBoxTest, AWorkerWaitsWhileTheGuiThreadAsks) {
  // The worker's request reaches the GUI thread at some later turn of its
  // event loop: answer once the dialog is there.
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      dialog->button(QMessageBox::No)->click();
    }
  });
  answerer.start(10);
  std::atomic<bool> done = false;
  navdb::MessageAnswer answer = navdb::MessageAnswer::Ok;
  std::thread worker([&] {
    answer = ShowMessageBox(nullptr,
                            Request("Warning", "Save modifications ?", navdb::MessageIcon::Question,
                                    navdb::MessageButtons::YesNo));
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  worker.join();
  EXPECT_EQ(answer, navdb::MessageAnswer::No);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].text, "Save modifications ?");
}

}  // namespace
