#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "shell/core/editor_boxes.h"
#include "shell/skat/entry_editor_dialog.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/list_search.h"
#include "shell/skat/qt_text.h"
#include "shell/skat/search_box.h"
#include "tests/skat/editor_window_fixture.h"

namespace {

using navdb::NavaidKind;
using shell::EditorBox;

const std::string kNdbBeauvais =
    DegreeLine("BV     BEAUVAIS                  075.0  N49*27'00.00  E002*06'00.00  00300  025");
const std::string kNdbChalons = DegreeLine(
    "CHW    CH\xC2LONS VATRY              175.0  N48*46'00.00  E004*12'00.00  00500  030");
const std::string kNdbOrly =
    DegreeLine("OL     ORLY                      398.5  N48*43'00.00  E002*22'00.00  00290  025");
const std::string kVorAbbeville = DegreeLine(
    "ABV    ABBEVILLE                 VOR/DME          113.90       N50*08'00.00  E001*51'00.00  "
    "00220  100   00.7");
const std::string kRunwayNoAtis = DegreeLine(
    "LFOB   BEAUVAIS TILLE            04 /22    041/221  N49*27'00.00  E002*06'00.00  00359  "
    "08071  148  000.00");
const std::string kRunwayAtis = DegreeLine(
    "LFPG   CHARLES DE GAULLE         09L/27R  090/270  N49*01'30.00  E002*33'00.00  00392  13829  "
    "197  118.05");
const std::string kFix =
    DegreeLine("ROMEO  A FIX 113                 N45*30'45.50  W073*05'30.00  00000");

TEST(LineSearch, MatchesIdentifierNameOrTheBeginningOfTheFrequency) {
  struct Case {
    NavaidKind kind;
    const std::string* line;
    const char* text;
    bool matches;
  };
  const Case cases[] = {
      {NavaidKind::Ndb, &kNdbBeauvais, "bv", true},           // identifier, any case
      {NavaidKind::Ndb, &kNdbBeauvais, "auva", true},         // inside the name
      {NavaidKind::Ndb, &kNdbBeauvais, "  beauvais ", true},  // spaces around do not count
      {NavaidKind::Ndb, &kNdbBeauvais, "75", true},           // 075.0 without its leading zero
      {NavaidKind::Ndb, &kNdbBeauvais, "075", false},         // leading zeros are not typed
      {NavaidKind::Ndb, &kNdbBeauvais, "75.0", true},
      {NavaidKind::Ndb, &kNdbBeauvais, "5.0", false},    // only the frequency's beginning
      {NavaidKind::Ndb, &kNdbChalons, "75", false},      // 175.0 does not begin with 75
      {NavaidKind::Ndb, &kNdbChalons, "chalons", true},  // the accent does not count
      {NavaidKind::Ndb, &kNdbChalons, "CH\xE2LONS", true},
      {NavaidKind::Ndb, &kNdbOrly, "N48", false},    // coordinates are not searched
      {NavaidKind::Ndb, &kNdbOrly, "00290", false},  // nor the elevation
      {NavaidKind::Vor, &kVorAbbeville, "113.9", true},
      {NavaidKind::Vor, &kVorAbbeville, "113.91", false},
      {NavaidKind::Vor, &kVorAbbeville, "VOR/DME", false},  // nor the type
      {NavaidKind::Airport, &kRunwayAtis, "118.05", true},  // the ATIS
      {NavaidKind::Airport, &kRunwayAtis, "09L", false},    // nor the runway
      {NavaidKind::Airport, &kRunwayNoAtis, "0", false},    // 000.00 is no frequency
      {NavaidKind::Airport, &kRunwayNoAtis, "tille", true},
      {NavaidKind::Intersection, &kFix, "113", true},  // a number in the comment
      {NavaidKind::Intersection, &kFix, "45", false},
      {NavaidKind::Intersection, &kFix, "romeo a", false},  // identifier and name apart
      {NavaidKind::Intersection, &kFix, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + *c.line);
    EXPECT_EQ(LineSearch(c.kind, c.text).matches(*c.line), c.matches);
  }
}

TEST(LineSearch, TypingOnNarrowsAndTheRowsFoundAreTheSameEitherWay) {
  EXPECT_TRUE(LineSearch(NavaidKind::Ndb, "Bea").narrows(LineSearch(NavaidKind::Ndb, "b")));
  EXPECT_TRUE(LineSearch(NavaidKind::Ndb, "7 5").narrows(LineSearch(NavaidKind::Ndb, "7")));
  EXPECT_FALSE(LineSearch(NavaidKind::Ndb, "b").narrows(LineSearch(NavaidKind::Ndb, "be")));
  EXPECT_FALSE(LineSearch(NavaidKind::Ndb, "eb").narrows(LineSearch(NavaidKind::Ndb, "b")));
  EXPECT_FALSE(LineSearch(NavaidKind::Vor, "be").narrows(LineSearch(NavaidKind::Ndb, "b")));
  EXPECT_FALSE(LineSearch(NavaidKind::Ndb, "be").narrows(LineSearch()));

  navdb::EntryList list;
  for (const std::string* line : {&kNdbBeauvais, &kNdbChalons, &kNdbOrly}) list.AddLine(*line);
  const std::vector<int> wide = MatchingRows(list, LineSearch(NavaidKind::Ndb, "a"));
  EXPECT_EQ(wide, (std::vector<int>{0, 1}));
  const LineSearch narrow(NavaidKind::Ndb, "al");
  EXPECT_EQ(MatchingRows(list, narrow, &wide), MatchingRows(list, narrow));
  EXPECT_EQ(MatchingRows(list, narrow), (std::vector<int>{1}));

  navdb::EntryList placeholder;
  placeholder.AddLine(navdb::kPlaceholderLine);
  EXPECT_TRUE(MatchingRows(placeholder, LineSearch(NavaidKind::Ndb, "o")).empty());
}

class ListSearchTest : public EditorWindowTest {
 protected:
  MainWindow& OpenWithLines() {
    for (const std::string* line : {&kNdbBeauvais, &kNdbChalons, &kNdbOrly}) {
      Add(NavaidKind::Ndb, *line);
    }
    Add(NavaidKind::Vor, kVorAbbeville);
    Add(NavaidKind::Airport, kRunwayNoAtis);
    Add(NavaidKind::Airport, kRunwayAtis);
    return OpenWindow();
  }
  QLineEdit* box() const { return window_->findChild<QLineEdit*>("Search"); }
  QString result() const { return window_->findChild<QLabel*>("Search result")->text(); }
  void type(const QString& text) {
    box()->clear();
    QTest::keyClicks(box(), text);
  }
  std::vector<std::string> shown(NavaidKind kind) const {
    std::vector<std::string> lines;
    EntryListModel* model = window_->model(kind);
    for (int row = 0; row < model->rowCount(); ++row) {
      lines.push_back(Win1252FromQString(model->index(row).data().toString()));
    }
    return lines;
  }
};

TEST_F(ListSearchTest, TypingFiltersTheShownListWithItsCountAndClearingRestoresIt) {
  MainWindow& window = OpenWithLines();
  ASSERT_NE(box(), nullptr);
  EXPECT_EQ(box()->accessibleName(), "Search");
  EXPECT_EQ(result(), "");

  QTest::keyClicks(box(), "A");
  EXPECT_EQ(shown(NavaidKind::Ndb), (std::vector<std::string>{kNdbBeauvais, kNdbChalons}));
  EXPECT_EQ(result(), "2 matches");
  QTest::keyClick(box(), Qt::Key_L);
  EXPECT_EQ(shown(NavaidKind::Ndb), std::vector<std::string>{kNdbChalons});
  EXPECT_EQ(result(), "1 match");
  QTest::keyClick(box(), Qt::Key_X);
  EXPECT_TRUE(shown(NavaidKind::Ndb).empty());
  EXPECT_EQ(result(), "not found");
  QTest::keyClick(box(), Qt::Key_Backspace);
  QTest::keyClick(box(), Qt::Key_Backspace);
  EXPECT_EQ(shown(NavaidKind::Ndb).size(), 2u);  // a shorter text searches the whole list

  // Another tab is searched for the same text when it is shown.
  type("beauvais");
  EXPECT_EQ(result(), "1 match");
  window.showKindTab(NavaidKind::Airport);
  EXPECT_EQ(shown(NavaidKind::Airport), std::vector<std::string>{kRunwayNoAtis});
  EXPECT_EQ(result(), "1 match");
  window.showKindTab(NavaidKind::Vor);
  EXPECT_EQ(result(), "not found");
  EXPECT_EQ(window.model(NavaidKind::Vor)->rowCount(), 0);

  box()->clear();
  EXPECT_EQ(shown(NavaidKind::Vor), std::vector<std::string>{kVorAbbeville});
  EXPECT_EQ(result(), "");
  window.showKindTab(NavaidKind::Ndb);
  EXPECT_EQ(shown(NavaidKind::Ndb).size(), 3u);
  // The count of entries under the tab stays the list's own.
  EXPECT_EQ(window.findChild<QLineEdit*>("NDBs entries")->text(), "3");
}

TEST_F(ListSearchTest, RowsOfTheWindowStayListRowsUnderASearch) {
  MainWindow& window = OpenWithLines();
  std::vector<std::pair<NavaidKind, int>> selected;
  QObject::connect(&window, &MainWindow::entrySelected,
                   [&](NavaidKind kind, int row) { selected.emplace_back(kind, row); });
  type("orly");
  QListView* view = window.listView(NavaidKind::Ndb);
  view->setCurrentIndex(window.model(NavaidKind::Ndb)->index(0));
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected.back().second, 2);  // ORLY is line 2 of the list
  EXPECT_EQ(window.currentEntryRow(NavaidKind::Ndb), 2);

  // Typing on keeps the current line when it is still shown.
  type("or");
  EXPECT_EQ(window.currentEntryRow(NavaidKind::Ndb), 2);
  box()->clear();
  EXPECT_EQ(view->currentIndex().row(), 2);

  // Find ID picks the first shown line that begins with its text.
  type("o");  // CHALONS and ORLY, not BEAUVAIS
  auto* find = window.findChild<QLineEdit*>("Find ID");
  find->setText("c");
  EXPECT_EQ(view->currentIndex().row(), 0);
  EXPECT_EQ(window.currentEntryRow(NavaidKind::Ndb), 1);
  find->setText("o");
  EXPECT_EQ(window.currentEntryRow(NavaidKind::Ndb), 2);
  find->setText("b");
  EXPECT_FALSE(view->selectionModel()->hasSelection());

  // A line chosen elsewhere (map, index, editor) that the search hides is
  // shown by emptying the search.
  window.selectRow(NavaidKind::Ndb, 0);
  EXPECT_EQ(box()->text(), "");
  EXPECT_EQ(window.currentEntryRow(NavaidKind::Ndb), 0);
  EXPECT_EQ(view->currentIndex().row(), 0);
}

TEST_F(ListSearchTest, EditingAFilteredLineEditsThatEntryAndTheSearchFollows) {
  MainWindow& window = OpenWithLines();
  type("orly");
  QListView* view = window.listView(NavaidKind::Ndb);
  QApplication::processEvents();
  QString editorIdentifier;
  // The editor runs modal: it is answered from a timer once it shows.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* editor = qobject_cast<EntryEditorDialog*>(QApplication::activeModalWidget());
    if (editor == nullptr) return;
    answer.stop();
    editorIdentifier = editor->box(EditorBox::Identifier)->text();
    QLineEdit* name = editor->box(EditorBox::Name);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "ORLY SUD");
    QTest::mouseClick(editor->button("Validate"), Qt::LeftButton);
    if (editor->isVisible()) editor->reject();  // never left open on a failure
  });
  answer.start(20);
  const QRect first = view->visualRect(window.model(NavaidKind::Ndb)->index(0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, first.center());
  answer.stop();
  EXPECT_EQ(editorIdentifier, "OL");
  const std::vector<std::string> lines = Lines(NavaidKind::Ndb);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], kNdbBeauvais);
  EXPECT_EQ(lines[1], kNdbChalons);
  EXPECT_EQ(lines[2].substr(0, 33), "OL     ORLY SUD                  ");
  EXPECT_EQ(shown(NavaidKind::Ndb), std::vector<std::string>{lines[2]});
  EXPECT_EQ(window.currentEntryRow(NavaidKind::Ndb), 2);

  // A line added or deleted elsewhere: the search is made again.
  state_.db.List(NavaidKind::Ndb)
      .AddLine(DegreeLine(
          "AOR    AORLY                     300.0  N48*43'00.00  E002*22'00.00  00290  025"));
  window.reloadLists();
  EXPECT_EQ(result(), "2 matches");
  EXPECT_EQ(window.model(NavaidKind::Ndb)->listRow(0), 0);
  EXPECT_EQ(window.model(NavaidKind::Ndb)->listRow(1), 3);
  state_.db.List(NavaidKind::Ndb).DeleteLine(0);
  window.reloadLists();
  EXPECT_EQ(result(), "1 match");
  EXPECT_EQ(window.model(NavaidKind::Ndb)->listRow(0), 2);
}

TEST_F(ListSearchTest, AWorkerSeesEveryLineAndTheSearchComesBackAfter) {
  MainWindow& window = OpenWithLines();
  type("beauvais");
  EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 1);
  window.setListsBusy(true);
  EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 3);
  EXPECT_FALSE(window.model(NavaidKind::Ndb)->filtered());
  window.setCommandsEnabled(false, false);
  EXPECT_FALSE(box()->isEnabled());
  window.setListsBusy(false);
  window.setCommandsEnabled(true, false);
  EXPECT_TRUE(box()->isEnabled());
  EXPECT_EQ(shown(NavaidKind::Ndb), std::vector<std::string>{kNdbBeauvais});
  EXPECT_EQ(result(), "1 match");
}

TEST_F(ListSearchTest, CtrlFPutsTheKeyboardInTheSearchBoxWithItsTextSelected) {
  MainWindow& window = OpenWithLines();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QApplication::processEvents();  // the shortcut is added once the window's actions exist
  type("orly");
  window.listView(NavaidKind::Ndb)->setFocus();
  QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(box()->hasFocus());
  EXPECT_EQ(box()->selectedText(), "orly");
  window.listView(NavaidKind::Ndb)->setFocus();
  window.focusSearch();
  EXPECT_TRUE(box()->hasFocus());
  // Tooltips carry the whole line.
  EXPECT_EQ(
      Win1252FromQString(window.model(NavaidKind::Ndb)->index(0).data(Qt::ToolTipRole).toString()),
      kNdbOrly);
}

}  // namespace
