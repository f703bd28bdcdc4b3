#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include <optional>

#include "shell/skat/airport_editor.h"
#include "shell/skat/entry_editors.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/intersection_editor.h"
#include "shell/skat/vor_editor.h"
#include "tests/skat/editor_window_fixture.h"

namespace {

using navdb::MessageAnswer;
using navdb::NavaidKind;
using shell::CoordinateAxis;
using shell::EditorBox;
using shell::VorTypeChoice;

const std::string kNdbLine =
    DegreeLine("ABC    TEST NDB                  375.0  N48*51'24.00  E002*20'30.00  00150  025");
const std::string kVorLine = DegreeLine(
    "ABV    ABBEVILLE                 VOR/DME          113.90       N50*08'00.00  E001*51'00.00  "
    "00220  100   00.7");
const std::string kIlsLine = DegreeLine(
    "PGS    PARIS                     ILS/DME/GS       109.50  275  N49*00'12.34  W001*02'03.04  "
    "00420  018  -00.5");
const std::string kRunwayLine = DegreeLine(
    "LFPG   CHARLES DE GAULLE         09L/27R  090/270  N49*01'30.00  E002*33'00.00  00392  13829  "
    "197  118.05");
const std::string kIntersectionLine =
    DegreeLine("ROMEO  A FIX                     N45*30'45.50  W073*05'30.00  00000");

QString Text(const EntryEditorDialog& editor, EditorBox box) {
  return editor.box(box)->text();
}

// Types into a box as a user does: one key after the other.
void Type(EntryEditorDialog& editor, EditorBox box, const QString& text) {
  QLineEdit* edit = editor.box(box);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

// Leaves the focused box with Tab and lets a focus that must stay come back.
void TabOut(EntryEditorDialog& editor) {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QApplication::processEvents();
  (void)editor;
}

std::unique_ptr<EntryEditorDialog> Open(MainWindow& window, NavaidKind kind,
                                        std::optional<size_t> row) {
  auto editor = MakeEntryEditor(window, window.state(), kind, row);
  editor->show();
  QApplication::setActiveWindow(editor.get());
  QApplication::processEvents();
  return editor;
}

TEST_F(EditorWindowTest, EachEditorOpensOnItsLineCentredInTheEditorFont) {
  Add(NavaidKind::Ndb, kNdbLine);
  Add(NavaidKind::Vor, kIlsLine);
  Add(NavaidKind::Airport, kRunwayLine);
  Add(NavaidKind::Intersection, kIntersectionLine);
  MainWindow& window = OpenWindow();
  const char* titles[] = {"NDB entry edition", "VOR/ILS entry edition", "Airport entry edition",
                          "Intersection entry edition"};
  for (NavaidKind kind : navdb::kAllKinds) {
    SCOPED_TRACE(titles[navdb::IndexOf(kind)]);
    auto editor = Open(window, kind, 0);
    EXPECT_EQ(editor->windowTitle(), titles[navdb::IndexOf(kind)]);
    EXPECT_TRUE(editor->isModal());
    EXPECT_EQ(editor->font().family(), "Liberation Mono");
    EXPECT_EQ(editor->font().pixelSize(), window.logicalDpiY() / 8);
    EXPECT_NEAR(editor->frameGeometry().center().x(), window.frameGeometry().center().x(), 2);
    EXPECT_NEAR(editor->frameGeometry().center().y(), window.frameGeometry().center().y(), 2);
    for (const char* caption : {"Cancel", "Validate", "Add", "Delete"}) {
      ASSERT_NE(editor->button(caption), nullptr) << caption;
    }
    EXPECT_TRUE(editor->button("Cancel")->isDefault());
    EXPECT_FALSE(editor->button("Validate")->isDefault());
    EXPECT_EQ(QApplication::focusWidget(), editor->box(EditorBox::Identifier));

    // Tab goes from box to box, top to bottom and left to right, and every
    // box is wide enough for what it takes.
    QWidget* widget = editor->box(EditorBox::Identifier);
    QPoint last = widget->mapTo(editor.get(), QPoint(0, 0));
    int stops = 0;
    for (QWidget* next = widget->nextInFocusChain(); next != widget && stops < 60;
         next = next->nextInFocusChain()) {
      if (!next->isVisible() || !(next->focusPolicy() & Qt::TabFocus)) continue;
      if (next == editor->button("Validate")) break;
      const QPoint at = next->mapTo(editor.get(), QPoint(0, 0));
      EXPECT_TRUE(at.y() > last.y() + 4 || (std::abs(at.y() - last.y()) <= 4 && at.x() > last.x()))
          << next->accessibleName().toStdString();
      last = at;
      ++stops;
      if (auto* edit = qobject_cast<QLineEdit*>(next)) {
        EXPECT_GE(edit->width(),
                  QFontMetrics(edit->font()).horizontalAdvance(QString(edit->maxLength(), 'M')))
            << edit->accessibleName().toStdString();
      }
    }
    EXPECT_GE(stops, 10);
  }

  auto ndb = Open(window, NavaidKind::Ndb, 0);
  EXPECT_EQ(Text(*ndb, EditorBox::Identifier), "ABC");
  EXPECT_EQ(Text(*ndb, EditorBox::Name), "TEST NDB");
  EXPECT_EQ(Text(*ndb, EditorBox::FrequencyInteger), "375");
  EXPECT_EQ(ndb->hemisphereChoice(CoordinateAxis::Longitude)->currentText(), "E");
  EXPECT_EQ(Text(*ndb, EditorBox::LongitudeDegrees), "002");
  EXPECT_EQ(Text(*ndb, EditorBox::Range), "025");
  auto airport = Open(window, NavaidKind::Airport, 0);
  EXPECT_EQ(Text(*airport, EditorBox::Runway), "09L");
  EXPECT_EQ(Text(*airport, EditorBox::OppositeRunway), "27R");
  EXPECT_TRUE(airport->box(EditorBox::OppositeRunway)->isReadOnly());
  EXPECT_EQ(Text(*airport, EditorBox::AtisDecimals), "05");
  EXPECT_NE(airport->findChild<QLineEdit*>("ICAO ID :"), nullptr);
  auto intersection = Open(window, NavaidKind::Intersection, 0);
  EXPECT_EQ(Text(*intersection, EditorBox::LatitudeDmTenths), "8");
  EXPECT_NE(intersection->findChild<QLineEdit*>("Comment :"), nullptr);
}

TEST_F(EditorWindowTest, PlaceholderOpensEmptyAndAddPutsTheFirstLine) {
  MainWindow& window = OpenWindow();
  auto editor = Open(window, NavaidKind::Ndb, 0);
  EXPECT_FALSE(editor->session().row.has_value());
  EXPECT_TRUE(Text(*editor, EditorBox::Identifier).isEmpty());
  EXPECT_EQ(editor->hemisphereChoice(CoordinateAxis::Latitude)->currentIndex(), -1);
  Type(*editor, EditorBox::Identifier, "abc");
  EXPECT_EQ(Text(*editor, EditorBox::Identifier), "ABC");
  Type(*editor, EditorBox::Name, "New beacon");
  Type(*editor, EditorBox::Altitude, "1x2y");
  EXPECT_EQ(Text(*editor, EditorBox::Altitude), "12");
  QTest::mouseClick(editor->button("Add"), Qt::LeftButton);
  EXPECT_EQ(editor->result(), QDialog::Accepted);
  EXPECT_EQ(
      Lines(NavaidKind::Ndb),
      std::vector<std::string>{DegreeLine(
          "ABC    New beacon                000.0  N00*00'00.00  E000*00'00.00  00012  000")});
  EXPECT_TRUE(state_.db.databaseModified);
  EXPECT_EQ(window.model(NavaidKind::Ndb)->rowCount(), 1);
  EXPECT_EQ(window.listView(NavaidKind::Ndb)->currentIndex().row(), 0);
  EXPECT_TRUE(MessageBoxSeam::shown().empty());
}

TEST_F(EditorWindowTest, ValidateUnchangedKeepsTheListAndSetsTheFlag) {
  Add(NavaidKind::Vor, kIlsLine);
  Add(NavaidKind::Vor, kVorLine);
  MainWindow& window = OpenWindow();
  const std::vector<std::string> before = Lines(NavaidKind::Vor);
  auto editor = Open(window, NavaidKind::Vor, 1);
  QTest::mouseClick(editor->button("Validate"), Qt::LeftButton);
  EXPECT_EQ(editor->result(), QDialog::Accepted);
  EXPECT_EQ(Lines(NavaidKind::Vor), before);
  EXPECT_TRUE(state_.db.databaseModified);
  EXPECT_EQ(window.listView(NavaidKind::Vor)->currentIndex().row(), 1);
}

TEST_F(EditorWindowTest, AddAsksAboutADuplicateAndCancelChangesNothing) {
  Add(NavaidKind::Airport, kRunwayLine);
  MainWindow& window = OpenWindow();
  auto editor = Open(window, NavaidKind::Airport, 0);
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::mouseClick(editor->button("Add"), Qt::LeftButton);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Warning");
  EXPECT_EQ(MessageBoxSeam::shown()[0].text,
            "This runway already exists with same ID, Name and Number.\rDo you really want to "
            "add it ?");
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(Lines(NavaidKind::Airport).size(), 1u);

  // Another designation is another runway: no question.
  Type(*editor, EditorBox::Runway, "9R");
  TabOut(*editor);
  EXPECT_EQ(Text(*editor, EditorBox::OppositeRunway), "27L");
  QTest::mouseClick(editor->button("Add"), Qt::LeftButton);
  EXPECT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(editor->result(), QDialog::Accepted);
  EXPECT_EQ(Lines(NavaidKind::Airport).size(), 2u);
  EXPECT_EQ(window.model(NavaidKind::Airport)->rowCount(), 2);

  // The same runway again, answered Yes: a third line.
  editor = Open(window, NavaidKind::Airport, 0);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  QTest::mouseClick(editor->button("Add"), Qt::LeftButton);
  EXPECT_EQ(MessageBoxSeam::shown().size(), 2u);
  EXPECT_EQ(Lines(NavaidKind::Airport).size(), 3u);

  editor = Open(window, NavaidKind::Airport, 0);
  Type(*editor, EditorBox::Name, "CHANGED");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);              // the changed name may go
  QTest::keyClick(editor->box(EditorBox::Name), Qt::Key_Return);  // presses Cancel
  EXPECT_EQ(MessageBoxSeam::shown().size(), 3u);
  EXPECT_EQ(editor->result(), QDialog::Rejected);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(Lines(NavaidKind::Airport).size(), 3u);
  EXPECT_EQ(Lines(NavaidKind::Airport)[0], kRunwayLine);
}

TEST_F(EditorWindowTest, DeleteAnsweredNoThenYes) {
  Add(NavaidKind::Intersection, kIntersectionLine);
  MainWindow& window = OpenWindow();
  auto editor = Open(window, NavaidKind::Intersection, 0);
  MessageBoxSeam::setNextAnswer(MessageAnswer::No);
  QTest::mouseClick(editor->button("Delete"), Qt::LeftButton);
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(Lines(NavaidKind::Intersection).size(), 1u);
  EXPECT_FALSE(state_.db.databaseModified);
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  QTest::mouseClick(editor->button("Delete"), Qt::LeftButton);
  EXPECT_EQ(editor->result(), QDialog::Accepted);
  EXPECT_TRUE(Lines(NavaidKind::Intersection).empty());
  EXPECT_TRUE(state_.db.databaseModified);
  ASSERT_EQ(MessageBoxSeam::shown().size(), 2u);
  EXPECT_EQ(MessageBoxSeam::shown()[1].text, "Do you really want to delete this Intersection ?");
  EXPECT_EQ(window.model(NavaidKind::Intersection)->rowCount(), 0);
  EXPECT_EQ(window.findChild<QLineEdit*>("Intersections entries")->text(), "0");
}

TEST_F(EditorWindowTest, VorTypeChoicesSetDirectionAndDme) {
  Add(NavaidKind::Vor, kIlsLine);
  MainWindow& window = OpenWindow();
  auto opened = Open(window, NavaidKind::Vor, 0);
  auto& editor = static_cast<VorEditor&>(*opened);
  EXPECT_TRUE(editor.typeChoice(VorTypeChoice::Ils)->isChecked());
  EXPECT_EQ(editor.typeChoice(VorTypeChoice::Ils)->text(), "ILS   ->");
  EXPECT_TRUE(editor.box(EditorBox::Direction)->isEnabled());
  EXPECT_EQ(Text(editor, EditorBox::Direction), "275");
  EXPECT_TRUE(editor.glideSlopeBox()->isChecked());
  EXPECT_EQ(Text(editor, EditorBox::MagneticVariation), "-00.5");

  QTest::mouseClick(editor.typeChoice(VorTypeChoice::Vor), Qt::LeftButton);
  EXPECT_FALSE(editor.box(EditorBox::Direction)->isEnabled());
  EXPECT_TRUE(Text(editor, EditorBox::Direction).isEmpty());
  EXPECT_TRUE(editor.dmeBox()->isEnabled());

  QTest::mouseClick(editor.typeChoice(VorTypeChoice::DmeOnly), Qt::LeftButton);
  EXPECT_TRUE(editor.dmeBox()->isChecked());
  EXPECT_FALSE(editor.dmeBox()->isEnabled());
  EXPECT_FALSE(editor.box(EditorBox::Direction)->isEnabled());

  QTest::mouseClick(editor.typeChoice(VorTypeChoice::Ils), Qt::LeftButton);
  EXPECT_TRUE(editor.box(EditorBox::Direction)->isEnabled());
  EXPECT_TRUE(editor.dmeBox()->isEnabled());
  Type(editor, EditorBox::Direction, "93");
  QTest::mouseClick(editor.tacanBox(), Qt::LeftButton);
  QTest::mouseClick(editor.glideSlopeBox(), Qt::LeftButton);
  QTest::mouseClick(editor.button("Validate"), Qt::LeftButton);
  EXPECT_EQ(Lines(NavaidKind::Vor)[0].substr(33, 30), "ILS/DME/TCN      109.50  93   ");
}

TEST_F(EditorWindowTest, RunwayHelpersAndIntersectionRows) {
  Add(NavaidKind::Airport, kRunwayLine);
  MainWindow& window = OpenWindow();
  auto editor = Open(window, NavaidKind::Airport, 0);
  Type(*editor, EditorBox::Runway, "9l");
  TabOut(*editor);
  EXPECT_EQ(Text(*editor, EditorBox::OppositeRunway), "27R");
  EXPECT_EQ(QApplication::focusWidget(), editor->box(EditorBox::Heading));
  EXPECT_EQ(editor->beeps(), 0);
  // Above 18: a beep and the focus back.
  Type(*editor, EditorBox::Runway, "27");
  TabOut(*editor);
  EXPECT_EQ(editor->beeps(), 1);
  EXPECT_EQ(QApplication::focusWidget(), editor->box(EditorBox::Runway));
  Type(*editor, EditorBox::Runway, "9L");
  TabOut(*editor);
  Type(*editor, EditorBox::Heading, "95");
  TabOut(*editor);
  EXPECT_EQ(Text(*editor, EditorBox::OppositeHeading), "275");
  QTest::mouseClick(editor->button("Validate"), Qt::LeftButton);
  EXPECT_EQ(Lines(NavaidKind::Airport)[0].substr(33, 16), "9L /27R  095/275");

  auto fix = Open(window, NavaidKind::Intersection, std::nullopt);
  Type(*fix, EditorBox::LatitudeDmTenths, "5");
  EXPECT_EQ(Text(*fix, EditorBox::LatitudeSeconds), "30");
  Type(*fix, EditorBox::LongitudeSeconds, "45");
  Type(*fix, EditorBox::LongitudeHundredths, "50");
  EXPECT_EQ(Text(*fix, EditorBox::LongitudeDmTenths), "8");
  Type(*fix, EditorBox::LongitudeDmMinutes, "12");
  EXPECT_EQ(Text(*fix, EditorBox::LongitudeMinutes), "12");
}

TEST_F(EditorWindowTest, ValuesBeyondTheColumnsNeverCostTheEntry) {
  Add(NavaidKind::Vor, kVorLine);
  Add(NavaidKind::Airport, kRunwayLine);
  MainWindow& window = OpenWindow();
  struct Case {
    NavaidKind kind;
    EditorBox box;
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {NavaidKind::Vor, EditorBox::MagneticVariation, "12345", "Can't add entry to VOR list."},
      {NavaidKind::Vor, EditorBox::MagneticVariation, "99.96", "Can't add entry to VOR list."},
      {NavaidKind::Airport, EditorBox::Runway, "82L", "Can't add entry to Airport list."},
      {NavaidKind::Airport, EditorBox::Heading, "820", "Can't add entry to Airport list."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    MessageBoxSeam::clearShown();
    const std::vector<std::string> before = Lines(c.kind);
    auto editor = Open(window, c.kind, 0);
    Type(*editor, c.box, c.typed);
    const int beeps = editor->beeps();
    TabOut(*editor);
    EXPECT_EQ(editor->beeps(), beeps + 1);
    EXPECT_EQ(QApplication::focusWidget(), editor->box(c.box));
    for (const char* button : {"Validate", "Add"}) {
      MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
      QTest::mouseClick(editor->button(button), Qt::LeftButton);
      EXPECT_TRUE(editor->isVisible()) << button;
      EXPECT_EQ(Text(*editor, c.box), c.typed);
    }
    ASSERT_EQ(MessageBoxSeam::shown().size(), 2u);
    EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Error");
    EXPECT_EQ(MessageBoxSeam::shown()[0].text, c.message);
    EXPECT_EQ(Lines(c.kind), before);
    EXPECT_FALSE(state_.db.databaseModified);
  }
}

TEST_F(EditorWindowTest, DoubleClickOpensTheKindsEditor) {
  Add(NavaidKind::Ndb, kNdbLine);
  MainWindow& window = OpenWindow();
  QListView* view = window.listView(NavaidKind::Ndb);
  QString seenTitle;
  QString seenIdentifier;
  QTimer::singleShot(0, &window, [&] {
    auto* editor = qobject_cast<EntryEditorDialog*>(QApplication::activeModalWidget());
    if (!editor) return;
    seenTitle = editor->windowTitle();
    seenIdentifier = editor->box(EditorBox::Identifier)->text();
    editor->button("Cancel")->click();
  });
  const QRect rect = view->visualRect(window.model(NavaidKind::Ndb)->index(0));
  // A double click is a click and a second press within the interval.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_EQ(seenTitle, "NDB entry edition");
  EXPECT_EQ(seenIdentifier, "ABC");
  EXPECT_EQ(Lines(NavaidKind::Ndb), std::vector<std::string>{kNdbLine});
}

TEST_F(EditorWindowTest, EditsSavedAtQuitAreThereAfterARestart) {
  Add(NavaidKind::Ndb, kNdbLine);
  MainWindow& window = OpenWindow();
  auto editor = Open(window, NavaidKind::Ndb, 0);
  Type(*editor, EditorBox::Name, "RENAMED");
  QTest::mouseClick(editor->button("Validate"), Qt::LeftButton);
  auto fix = Open(window, NavaidKind::Intersection, 0);
  Type(*fix, EditorBox::Identifier, "NEWFX");
  Type(*fix, EditorBox::LatitudeDmTenths, "5");
  QTest::mouseClick(fix->button("Add"), Qt::LeftButton);
  const std::vector<std::string> ndbs = Lines(NavaidKind::Ndb);
  const std::vector<std::string> fixes = Lines(NavaidKind::Intersection);
  ASSERT_EQ(fixes.size(), 1u);
  EXPECT_EQ(fixes[0].substr(33, 12), DegreeLine("N00*00'30.00"));

  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);
  window.findChild<QPushButton*>("Quit")->click();
  ASSERT_FALSE(MessageBoxSeam::shown().empty());
  EXPECT_EQ(MessageBoxSeam::shown().back().text, "Save modifications ?");
  QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 10000);

  shell::AppState restarted;
  restarted.db.folder = folder_.path();
  MainWindow second(restarted);
  bool loaded = false;
  second.commands().startLoad([&] { loaded = true; });
  QTRY_VERIFY_WITH_TIMEOUT(loaded, 10000);
  second.commands().waitForWorker();
  std::vector<std::string> again;
  restarted.db.List(NavaidKind::Ndb).ForEach([&](size_t, std::string_view l) {
    again.emplace_back(l);
  });
  EXPECT_EQ(again, ndbs);
  EXPECT_EQ(std::string(restarted.db.List(NavaidKind::Intersection).GetLine(0)), fixes[0]);
  EXPECT_EQ(second.model(NavaidKind::Ndb)
                ->data(second.model(NavaidKind::Ndb)->index(0))
                .toString()
                .left(16),
            "ABC    RENAMED  ");
}

}  // namespace
