// The entry editors never throw away what the user changed without asking:
// Cancel, Enter, Escape and the close box ask first, and close at once when
// every box and choice shows what it showed when the editor opened.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

#include "shell/skat/entry_editors.h"
#include "shell/skat/vor_editor.h"
#include "tests/skat/editor_window_fixture.h"

namespace {

using navdb::MessageAnswer;
using navdb::NavaidKind;
using shell::CoordinateAxis;
using shell::EditorBox;

const std::string kNdbLine =
    DegreeLine("ABC    TEST NDB                  375.0  N48*51'24.00  E002*20'30.00  00150  025");
const std::string kVorLine = DegreeLine(
    "ABV    ABBEVILLE                 VOR/DME          113.90       N50*08'00.00  E001*51'00.00  "
    "00220  100   00.7");
const char* const kQuestion = "Warning|The entry was changed.\n\nDiscard the changes ?";

class EditorDiscardTest : public EditorWindowTest {
 protected:
  std::unique_ptr<EntryEditorDialog> Open(NavaidKind kind, std::optional<size_t> row) {
    auto editor = MakeEntryEditor(*window_, window_->state(), kind, row);
    editor->show();
    QApplication::setActiveWindow(editor.get());
    QApplication::processEvents();
    return editor;
  }
  // Types at the end of a box, one key after the other, as a user does.
  static void TypeAtEnd(EntryEditorDialog& editor, EditorBox box, const QString& keys) {
    QLineEdit* edit = editor.box(box);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, keys);
  }
  static std::vector<std::string> Questions() {
    std::vector<std::string> texts;
    for (const navdb::MessageRequest& shown : MessageBoxSeam::shown()) {
      texts.push_back(shown.caption + "|" + shown.text);
    }
    return texts;
  }
};

TEST_F(EditorDiscardTest, EscapeOnAChangedBoxAsksAndNoKeepsTheEditorWithItsText) {
  Add(NavaidKind::Ndb, kNdbLine);
  OpenWindow();
  auto editor = Open(NavaidKind::Ndb, 0);
  TypeAtEnd(*editor, EditorBox::Name, " 2");
  ASSERT_TRUE(editor->changed());

  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::keyClick(editor->box(EditorBox::Name), Qt::Key_Escape);
  EXPECT_EQ(Questions(), std::vector<std::string>{kQuestion});
  ASSERT_EQ(MessageBoxSeam::shownParents().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shownParents()[0], editor.get());
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->box(EditorBox::Name)->text(), "TEST NDB 2");

  // The close box and Cancel ask the same, and No keeps the editor again.
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  editor->close();
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::mouseClick(editor->button("Cancel"), Qt::LeftButton);
  EXPECT_EQ(Questions(), std::vector<std::string>(3, kQuestion));
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->box(EditorBox::Name)->text(), "TEST NDB 2");

  // Yes closes, and the database keeps its line byte for byte.
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  QTest::keyClick(editor->box(EditorBox::Name), Qt::Key_Escape);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(editor->result(), QDialog::Rejected);
  EXPECT_EQ(Lines(NavaidKind::Ndb), std::vector<std::string>{kNdbLine});
  EXPECT_FALSE(state_.db.databaseModified);
  EXPECT_EQ(Questions().size(), 4u);
}

TEST_F(EditorDiscardTest, AnEditorShowingWhatItOpenedWithClosesWithoutAQuestion) {
  Add(NavaidKind::Ndb, kNdbLine);
  OpenWindow();
  // Untouched: Escape, Enter and Cancel close at once.
  for (int way = 0; way < 3; ++way) {
    auto editor = Open(NavaidKind::Ndb, 0);
    if (way == 0) QTest::keyClick(editor->box(EditorBox::Identifier), Qt::Key_Escape);
    if (way == 1) QTest::keyClick(editor->box(EditorBox::Identifier), Qt::Key_Return);
    if (way == 2) QTest::mouseClick(editor->button("Cancel"), Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible()) << way;
    EXPECT_EQ(editor->result(), QDialog::Rejected) << way;
  }
  // A digit deleted and typed again, a hemisphere chosen and chosen back:
  // every widget shows what it showed, so nothing was changed.
  auto editor = Open(NavaidKind::Ndb, 0);
  TypeAtEnd(*editor, EditorBox::Altitude, "");
  QTest::keyClick(editor->box(EditorBox::Altitude), Qt::Key_Backspace);
  EXPECT_EQ(editor->box(EditorBox::Altitude)->text(), "0015");
  EXPECT_TRUE(editor->changed());
  QTest::keyClicks(editor->box(EditorBox::Altitude), "0");
  EXPECT_EQ(editor->box(EditorBox::Altitude)->text(), "00150");
  EXPECT_FALSE(editor->changed());
  QComboBox* hemisphere = editor->hemisphereChoice(CoordinateAxis::Latitude);
  hemisphere->setCurrentIndex(1);
  EXPECT_TRUE(editor->changed());
  hemisphere->setCurrentIndex(0);
  EXPECT_FALSE(editor->changed());
  QTest::keyClick(editor->box(EditorBox::Altitude), Qt::Key_Escape);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
  // A new entry's editor opens empty, and stays unchanged until typed in.
  auto blank = Open(NavaidKind::Ndb, std::nullopt);
  QTest::keyClick(blank->box(EditorBox::Identifier), Qt::Key_Escape);
  EXPECT_FALSE(blank->isVisible());
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
  EXPECT_EQ(Lines(NavaidKind::Ndb), std::vector<std::string>{kNdbLine});
}

TEST_F(EditorDiscardTest, EnterOnAChangedEditorAsksAndChoicesCountAsChanges) {
  Add(NavaidKind::Vor, kVorLine);
  OpenWindow();
  auto editor = Open(NavaidKind::Vor, 0);
  // Enter presses Cancel, the default button.
  TypeAtEnd(*editor, EditorBox::Range, "");
  QTest::keyClick(editor->box(EditorBox::Range), Qt::Key_Backspace);
  QTest::keyClicks(editor->box(EditorBox::Range), "5");
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::keyClick(editor->box(EditorBox::Range), Qt::Key_Return);
  EXPECT_EQ(Questions(), std::vector<std::string>{kQuestion});
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->box(EditorBox::Range)->text(), "105");

  // A check box ticked is a change too; unticked again it is none.
  auto vor = Open(NavaidKind::Vor, 0);
  auto* tacan = vor->findChild<QAbstractButton*>("TACAN");
  ASSERT_NE(tacan, nullptr);
  ASSERT_TRUE(tacan->isEnabled());
  QTest::mouseClick(tacan, Qt::LeftButton);
  ASSERT_TRUE(vor->changed());
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  QTest::keyClick(vor->box(EditorBox::Name), Qt::Key_Return);
  EXPECT_FALSE(vor->isVisible());
  EXPECT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Lines(NavaidKind::Vor), std::vector<std::string>{kVorLine});

  // Validate keeps what was typed: no question, and the line is written.
  MessageBoxSeam::clearShown();
  QTest::mouseClick(editor->button("Validate"), Qt::LeftButton);
  EXPECT_EQ(editor->result(), QDialog::Accepted);
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
  ASSERT_EQ(Lines(NavaidKind::Vor).size(), 1u);
  EXPECT_EQ(Lines(NavaidKind::Vor)[0].substr(99, 3), "105");
}

}  // namespace
