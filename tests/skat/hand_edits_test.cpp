// The window's half of the edit journal: the replay after "Rebuild database"
// and "Restore original DB", the dialog of hand edits not replayed, the
// rebuild's warning and the "Hand edits" view.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include "navdb/coordinates.h"
#include "navdb/database_check.h"
#include "navdb/edit_journal.h"
#include "navdb/entry_lines.h"
#include "shell/skat/conflict_dialog.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/hand_edits_model.h"
#include "shell/skat/hand_edits_view.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/qt_text.h"
#include "tests/skat/skat_fixture.h"

namespace {

namespace fs = std::filesystem;
using navdb::JournalAction;
using navdb::JournalRecord;
using navdb::MessageAnswer;
using navdb::NavaidKind;
using shell::EditorBox;
using skat_test::WindowTest;

const std::string kRebuildQuestionHead =
    "Warning|You are going to lose any modification you've done on the database !\r"
    "(The Intersection list will not be lost)\r\r";

std::string Ndb(std::string_view id, std::string_view freq, double latDeg, double lonDeg) {
  return navdb::BuildNdbLine({id, "NDB " + std::string(id), freq, navdb::FormatLatitude(latDeg),
                              navdb::FormatLongitude(lonDeg), 300, 25});
}

JournalRecord Record(JournalAction action, std::string before, std::string after) {
  return {"2026-12-08T09:14:03Z", action, NavaidKind::Ndb, std::move(before), std::move(after)};
}

void WriteJournal(const WindowTest& test, const std::vector<JournalRecord>& records,
                  std::string_view tail = {}) {
  test.sim.Write("Sim/NavData/edits.journal", navdb::EncodeJournal(records) + std::string(tail));
}

std::string Encoded(const std::vector<JournalRecord>& records) {
  return navdb::EncodeJournal(records);
}

std::string JournalBytes(const WindowTest& test) {
  return skat_test::ReadBytes(test.navData / navdb::kJournalFileName);
}

std::vector<std::string> Lines(const WindowTest& test, NavaidKind kind) {
  std::vector<std::string> lines;
  test.state.db.List(kind).ForEach(
      [&](size_t, std::string_view line) { lines.emplace_back(line); });
  return lines;
}

bool Holds(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The NDB lines of the saved ndb.dat, in the list's form.
std::vector<std::string> SavedNdbs(const WindowTest& test) {
  navdb::Database saved;
  saved.folder = test.navData;
  navdb::LoadDatabase(saved, {});
  std::vector<std::string> lines;
  saved.List(NavaidKind::Ndb).ForEach([&](size_t, std::string_view line) {
    lines.emplace_back(line);
  });
  return lines;
}

std::string Summary(int applied, int carried, int kept, int dropped) {
  return "Information|Hand edits of edits.journal: " + std::to_string(applied) + " applied, " +
         std::to_string(carried) + " already in the database, " + std::to_string(kept) +
         " kept for later, " + std::to_string(dropped) + " dropped.";
}

std::string ScanSummary(int ndbs) {
  return "Information|Added to the database :\r\r" + std::to_string(ndbs) +
         "\tNDB,\r0\tVOR,\r0\tAirports.\r";
}

void Click(MainWindow& window, const char* caption) {
  QPushButton* button = window.findChild<QPushButton*>(caption);
  ASSERT_NE(button, nullptr) << caption;
  ASSERT_TRUE(button->isEnabled()) << caption;
  QTest::mouseClick(button, Qt::LeftButton);
}

// Opens the kind's editor on `row`, lets `edit` fill its boxes and presses `button`.
void EditInWindow(MainWindow& window, std::optional<size_t> row,
                  const std::function<void(EntryEditorDialog&)>& edit, const QString& button) {
  std::unique_ptr<EntryEditorDialog> editor =
      MakeEntryEditor(window, window.state(), NavaidKind::Ndb, row);
  editor->show();
  QApplication::setActiveWindow(editor.get());
  edit(*editor);
  QTest::mouseClick(editor->button(button), Qt::LeftButton);
}

void Retype(EntryEditorDialog& editor, EditorBox box, const QString& text) {
  QLineEdit* edit = editor.box(box);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

TEST(HandEditsInTheWindow, EditsSurviveARebuildAndTheWarningCountsThem) {
  WindowTest test;
  test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile({{"ZZ", "NDB ZZ", 46.0, 3.0}}));
  test.Open();
  MainWindow& window = *test.window;
  // A first rebuild leaves ZZ as the scan makes it, and no journal to replay.
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  Click(window, "Rebuild database");
  test.WaitForWorker();
  EXPECT_EQ(skat_test::ShownMessages(),
            (std::vector<std::string>{kRebuildQuestionHead + "Proceed ?", ScanSummary(1)}));
  const std::string scannedZz = Lines(test, NavaidKind::Ndb).at(0);

  // In the window: ZZ's range changed, and an NDB QQ added; neither saved.
  EditInWindow(
      window, 0, [](EntryEditorDialog& editor) { Retype(editor, EditorBox::Range, "077"); },
      "Validate");
  EditInWindow(
      window, 0,
      [](EntryEditorDialog& editor) {
        Retype(editor, EditorBox::Identifier, "QQ");
        Retype(editor, EditorBox::Name, "NDB QQ");
      },
      "Add");
  const std::vector<std::string> edited = Lines(test, NavaidKind::Ndb);
  ASSERT_EQ(edited.size(), 2u);
  ASSERT_EQ(test.state.db.unsavedEdits.size(), 2u);
  const std::string addedQq = test.state.db.unsavedEdits[1].after;
  const std::string changedZz = test.state.db.unsavedEdits[0].after;
  EXPECT_NE(changedZz, scannedZz);

  MessageBoxSeam::clearShown();
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the scan's summary
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the replay's
  Click(window, "Rebuild database");
  test.WaitForWorker();
  EXPECT_EQ(skat_test::ShownMessages(),
            (std::vector<std::string>{
                kRebuildQuestionHead +
                    "2 hand edits of edits.journal will be applied again after the rebuild.\r\r"
                    "Proceed ?",
                ScanSummary(1), Summary(2, 0, 0, 0)}));
  EXPECT_EQ(ConflictDialog::shownCount(), 0);
  // The lists, the window's rows and the saved file all hold the edits.
  EXPECT_EQ(Lines(test, NavaidKind::Ndb), edited);
  EXPECT_EQ(SavedNdbs(test), edited);
  EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 2);
  EXPECT_EQ(Win1252FromQString(window.model(NavaidKind::Ndb)->index(1).data().toString()),
            edited[1]);
  EXPECT_EQ(window.windowTitle().endsWith('*'), false);
  EXPECT_TRUE(test.state.db.unsavedEdits.empty());
  const platform::Result<navdb::JournalContents> journal = navdb::DecodeJournal(JournalBytes(test));
  ASSERT_TRUE(journal);
  ASSERT_EQ(journal->records.size(), 2u);
  EXPECT_EQ(journal->records[0].before, scannedZz);
  EXPECT_EQ(journal->records[0].after, changedZz);
  EXPECT_EQ(journal->records[1].after, addedQq);
  EXPECT_TRUE(window.findChild<QPushButton*>("Rebuild database")->isEnabled());
}

// The records of the conflict tests: the scan brings AB in another version
// and ZZ, and no CD or EF.
struct ConflictJournal {
  JournalRecord otherVersion =
      Record(JournalAction::Modify, skat_test::NdbLines()[0], Ndb("AB", "399.0", 49.0, 2.2));
  JournalRecord gone =
      Record(JournalAction::Modify, skat_test::NdbLines()[1], Ndb("CD", "401.0", 48.5, 2.6));
  JournalRecord addedTwice = Record(JournalAction::Add, "", Ndb("ZZ", "399.0", 46.0, 3.0));
  JournalRecord deleted = Record(JournalAction::Delete, skat_test::NdbLines()[2], "");

  std::vector<JournalRecord> All() const { return {otherVersion, gone, addedTwice, deleted}; }
};

void StartConflictingRebuild(WindowTest& test, const ConflictJournal& records) {
  test.sim.Write("Scenery/a.bgl", skat_test::NdbSceneryFile(
                                      {{"ZZ", "NDB ZZ", 46.0, 3.0}, {"AB", "NDB AB", 49.2, 2.2}}));
  test.Open();
  // After the start, which would have made these edits on the files it found.
  WriteJournal(test, records.All());
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the scan's summary
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);  // the replay's
  Click(*test.window, "Rebuild database");
}

TEST(HandEditsInTheWindow, ConflictsAreShownInOneDialogAndEachChoiceIsApplied) {
  WindowTest test;
  const ConflictJournal records;
  std::vector<std::vector<QString>> rows;
  std::string foundLine;
  ConflictDialog::setNextAction([&](ConflictDialog& dialog) {
    QTreeWidget* list = dialog.list();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
      std::vector<QString> texts;
      for (int column = 0; column < list->columnCount(); ++column) {
        texts.push_back(list->topLevelItem(row)->text(column));
      }
      rows.push_back(texts);
    }
    foundLine = Win1252FromQString(dialog.lineLabel(2)->text());
    QApplication::setActiveWindow(&dialog);
    // The first by mouse, the second by keyboard, the third left as it is.
    QTest::mouseClick(dialog.choiceButton(shell::ConflictChoice::ApplyAnyway), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
    // A mnemonic clicks its button after a short animation.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dialog.choices()[1] == shell::ConflictChoice::DropRecord; }, 2000));
    QTest::keyClick(list, Qt::Key_Return);
  });
  StartConflictingRebuild(test, records);
  test.WaitForWorker();

  EXPECT_EQ(ConflictDialog::shownCount(), 1);
  const std::vector<std::vector<QString>> expectedRows = {
      {"1", "Modify", "NDB", "AB NDB AB",
       "The NDB is there in another version than the one edited.", "Apply anyway"},
      {"2", "Modify", "NDB", "CD NDB CD",
       "The NDB is gone: no NDB of this identifier and name is where it was.", "Drop the record"},
      {"3", "Add", "NDB", "ZZ NDB ZZ",
       "A NDB of this identifier and name is there already, in another version.",
       "Keep for later"}};
  EXPECT_EQ(rows.size(), 3u);
  for (size_t row = 0; row < std::min(rows.size(), expectedRows.size()); ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(rows[row].size(), 6u);
    // The choices were read before the user chose.
    for (size_t column = 0; column + 1 < rows[row].size(); ++column) {
      EXPECT_EQ(rows[row][column], expectedRows[row][column]);
    }
    EXPECT_EQ(rows[row].back(), "Keep for later");
  }
  const std::vector<std::string> ndbs = Lines(test, NavaidKind::Ndb);
  EXPECT_EQ(foundLine.substr(0, 6), "AB    ");
  EXPECT_FALSE(Holds(ndbs, foundLine));
  EXPECT_TRUE(Holds(ndbs, records.otherVersion.after));
  EXPECT_FALSE(Holds(ndbs, records.gone.after));
  EXPECT_FALSE(Holds(ndbs, records.addedTwice.after));
  EXPECT_EQ(ndbs.size(), 2u);  // AB as edited, ZZ as scanned
  EXPECT_EQ(SavedNdbs(test), ndbs);
  const std::vector<std::string> shown = skat_test::ShownMessages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], kRebuildQuestionHead +
                          "4 hand edits of edits.journal will be applied again after the "
                          "rebuild.\r\rProceed ?");
  EXPECT_EQ(shown[2], Summary(1, 1, 1, 1));
  // Only the dropped record left the journal.
  EXPECT_EQ(JournalBytes(test),
            Encoded({records.otherVersion, records.addedTwice, records.deleted}));
}

TEST(HandEditsInTheWindow, EscapeInTheDialogKeepsEveryRecordForLater) {
  WindowTest test;
  const ConflictJournal records;
  ConflictDialog::setNextAction([](ConflictDialog& dialog) {
    QTest::mouseClick(dialog.choiceButton(shell::ConflictChoice::DropRecord), Qt::LeftButton);
    QTest::keyClick(dialog.list(), Qt::Key_Escape);
  });
  StartConflictingRebuild(test, records);
  test.WaitForWorker();
  EXPECT_EQ(ConflictDialog::shownCount(), 1);
  EXPECT_EQ(skat_test::ShownMessages().back(), Summary(0, 1, 3, 0));
  EXPECT_EQ(JournalBytes(test), navdb::EncodeJournal(records.All()));
  EXPECT_FALSE(Holds(Lines(test, NavaidKind::Ndb), records.otherVersion.after));
}

TEST(HandEditsInTheWindow, RestoreReplaysTheJournalAndADamagedRestIsSetAside) {
  WindowTest test;
  const JournalRecord ab =
      Record(JournalAction::Modify, skat_test::NdbLines()[0], Ndb("AB", "399.0", 49.0, 2.2));
  const JournalRecord cd = Record(JournalAction::Delete, skat_test::NdbLines()[1], "");
  test.Open();
  // Written once the window is up: at its start the window would already
  // have made these edits and set the damaged rest aside.
  WriteJournal(test, {ab, cd}, "2026-12-08T09:15:00Z rename ndb\r\n- x\r\n");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  for (int i = 0; i < 3; ++i) MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  Click(*test.window, "Restore original DB");
  test.WaitForWorker();
  const std::vector<std::string> shown = skat_test::ShownMessages();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[1], "Information|Original database restored.");
  EXPECT_EQ(shown[2].substr(0, 51), "Warning|edits.journal was damaged from line 10 (lin");
  EXPECT_NE(shown[2].find("The 2 records before it are kept; the rest is now in "
                          "edits.journal.rejected."),
            std::string::npos)
      << shown[2];
  EXPECT_EQ(shown[3], Summary(2, 0, 0, 0));
  const std::vector<std::string> expected = {ab.after, skat_test::NdbLines()[2]};
  EXPECT_EQ(Lines(test, NavaidKind::Ndb), expected);
  EXPECT_EQ(SavedNdbs(test), expected);
  EXPECT_EQ(JournalBytes(test), Encoded({ab, cd}));
  const std::string rejected = skat_test::ReadBytes(test.navData / "edits.journal.rejected");
  EXPECT_TRUE(rejected.ends_with("2026-12-08T09:15:00Z rename ndb\r\n- x\r\n")) << rejected;
}

TEST(HandEditsInTheWindow, AStartMakesTheHandEditsTheFilesLackAndTellsWhatItKept) {
  WindowTest test;
  // A save cut short after its journal record: the files still hold the
  // old AB; and a modify of an NDB that is no longer there.
  const JournalRecord ab =
      Record(JournalAction::Modify, skat_test::NdbLines()[0], Ndb("AB", "399.0", 49.0, 2.2));
  const JournalRecord gone =
      Record(JournalAction::Modify, Ndb("GO", "310.0", 44.0, 4.0), Ndb("GO", "311.0", 44.0, 4.0));
  WriteJournal(test, {ab, gone});
  const std::string ndbFileBefore = skat_test::ReadBytes(test.navData / "ndb.dat");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  test.Open();
  EXPECT_EQ(skat_test::ShownMessages(),
            (std::vector<std::string>{
                "Warning|The database files did not hold every hand edit of edits.journal (a save "
                "was cut short, or the files were changed by another program): 1 record was "
                "applied again.",
                "Warning|1 record of edits.journal could not be replayed (the entry is gone, or "
                "there in another version) and stay in the journal for later: the \"Hand "
                "edits\" view lists them, and each is asked about at the next \"Rebuild "
                "database\" or \"Restore original DB\"."}));
  const std::vector<std::string> lines = Lines(test, NavaidKind::Ndb);
  EXPECT_TRUE(Holds(lines, ab.after));
  EXPECT_FALSE(Holds(lines, ab.before));
  // Not saved yet: the title says so, and the files and the journal are as they were.
  EXPECT_TRUE(test.window->windowTitle().endsWith(" *"))
      << test.window->windowTitle().toStdString();
  EXPECT_EQ(skat_test::ReadBytes(test.navData / "ndb.dat"), ndbFileBefore);
  EXPECT_EQ(JournalBytes(test), Encoded({ab, gone}));
  // The index was made again over the changed list.
  EXPECT_EQ(navdb::CountIndexRowsOutOfStep(test.state.db), 0u);
}

HandEditsView* OpenView(MainWindow& window) {
  QTest::mouseClick(window.findChild<QPushButton*>("Hand edits"), Qt::LeftButton);
  return window.findChild<HandEditsView*>();
}

QString Cell(const HandEditsView& view, int row, int column) {
  return view.model()->index(row, column).data().toString();
}

TEST(HandEditsView, ListsTheRecordsAndDropsExactlyTheSelectedOne) {
  WindowTest test;
  const JournalRecord first =
      Record(JournalAction::Modify, skat_test::NdbLines()[0], Ndb("AB", "399.0", 49.0, 2.2));
  const JournalRecord second = Record(JournalAction::Add, "", Ndb("QQ", "300.0", 45.0, 1.0));
  const JournalRecord third = Record(JournalAction::Delete, skat_test::NdbLines()[1], "");
  test.Open();
  WriteJournal(test, {first, second, third});
  MainWindow& window = *test.window;
  // An edit not saved yet is listed after the journal, without a number.
  EditInWindow(
      window, 2, [](EntryEditorDialog& editor) { Retype(editor, EditorBox::Range, "077"); },
      "Validate");
  HandEditsView* view = OpenView(window);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  QApplication::setActiveWindow(view);
  EXPECT_EQ(view->windowModality(), Qt::WindowModal);
  ASSERT_EQ(view->model()->rowCount(), 4);
  EXPECT_EQ(view->findChild<QLabel*>("summary")->text(),
            "3 records in edits.journal; 1 edit not saved yet (it joins the journal with the "
            "next save).");
  const QStringList firstRow = {"1",
                                "2026-12-08T09:14:03Z",
                                "Modify",
                                "NDB",
                                QStringFromWin1252(first.before).trimmed(),
                                QStringFromWin1252(first.after).trimmed()};
  for (int column = 0; column < firstRow.size(); ++column) {
    EXPECT_EQ(Cell(*view, 0, column), firstRow[column]) << column;
  }
  EXPECT_EQ(Cell(*view, 1, HandEditsModel::kBefore), "");
  EXPECT_EQ(Cell(*view, 2, HandEditsModel::kAction), "Delete");
  EXPECT_EQ(Cell(*view, 3, HandEditsModel::kNumber), "not saved");
  EXPECT_EQ(Win1252FromQString(view->lineLabel(1)->text()), first.after);

  // The unsaved edit cannot be dropped.
  view->table()->setFocus();
  view->table()->selectRow(3);
  EXPECT_FALSE(view->dropButton()->isEnabled());
  QTest::keyClick(view->table(), Qt::Key_Delete);
  EXPECT_TRUE(MessageBoxSeam::shown().empty());

  // The second record: Delete asks over the view, No keeps it, Yes drops it.
  view->table()->selectRow(1);
  EXPECT_EQ(view->lineLabel(0)->text(), "(none)");
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::keyClick(view->table(), Qt::Key_Delete);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(skat_test::ShownMessages()[0],
            "Warning|Drop record 2 from edits.journal ?\r\rThe database keeps the edit; it is "
            "only no longer applied again after a rebuild or a restore.");
  EXPECT_EQ(MessageBoxSeam::shownParents()[0], view);
  EXPECT_EQ(JournalBytes(test), Encoded({first, second, third}));
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  QTest::mouseClick(view->dropButton(), Qt::LeftButton);
  EXPECT_EQ(JournalBytes(test), Encoded({first, third}));
  ASSERT_EQ(view->model()->rowCount(), 3);
  EXPECT_EQ(Cell(*view, 1, HandEditsModel::kNumber), "2");
  EXPECT_EQ(Cell(*view, 1, HandEditsModel::kAction), "Delete");
  EXPECT_EQ(view->table()->currentIndex().row(), 1);
  // The database itself is not touched by a drop.
  EXPECT_EQ(test.state.db.unsavedEdits.size(), 1u);

  QTest::keyClick(view->table(), Qt::Key_Escape);
  QTRY_VERIFY(window.findChild<HandEditsView*>() == nullptr);
}

TEST(HandEditsView, ADamagedJournalIsToldOverTheViewAndSetAside) {
  WindowTest test;
  const JournalRecord first = Record(JournalAction::Delete, skat_test::NdbLines()[1], "");
  test.Open();
  WriteJournal(test, {first}, "garbage\r\n");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  HandEditsView* view = OpenView(*test.window);
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Warning");
  EXPECT_EQ(MessageBoxSeam::shownParents()[0], view);
  EXPECT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(JournalBytes(test), Encoded({first}));
  EXPECT_EQ(skat_test::ReadBytes(test.navData / "edits.journal.rejected").substr(0, 36),
            "// Set aside from edits.journal on 2");
  view->close();
}

}  // namespace
