// The Flight Plan dialog driven through its real widgets: picks in the main
// window, the row buttons, performance and SID/STAR fields, Save, Open,
// both imports and printing to PDF.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <map>

#include "planner/plan_rows.h"
#include "planner/printout.h"
#include "shell/skat/flight_plan_dialog.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/open_file_dialog.h"
#include "shell/skat/plan_launcher.h"
#include "shell/skat/plan_printer.h"
#include "shell/skat/qt_text.h"
#include "tests/skat/plan_dialog_fixture.h"
#include "tests/skat/skat_fixture.h"
#include "tests/support/navaid_lines.h"

namespace {

using navdb::MessageAnswer;
using navdb::NavaidKind;
using skat_test::FlightPlanDialogTest;
using skat_test::WindowTest;

TEST_F(FlightPlanDialogTest, BuildByPicksChangeSaveAndReopen) {
  clickWindow("New");
  ASSERT_NE(launcher_->dialog(), nullptr);
  EXPECT_TRUE(dialog().isVisible());
  EXPECT_TRUE(test_.state.planWindowOpen);
  EXPECT_EQ(child<QLineEdit>("Rotation distance")->text(), "10.0");
  EXPECT_EQ(child<QLineEdit>("Rotation radius")->text(), "5.0");
  EXPECT_TRUE(child<QCheckBox>("Enabled")->isChecked());
  setField("Climb rate", "1500");
  setField("Climb speed", "250");
  setField("Descent rate", "1500");
  setField("Descent speed", "280");
  setField("Cruise altitude", "5000");
  setField("Cruise speed", "300");
  child<QCheckBox>("Enabled")->click();
  EXPECT_FALSE(child<QLineEdit>("Rotation distance")->isEnabled());

  // Escape inserts nothing; the status line tells the pick while it waits.
  click("Insert");
  ASSERT_TRUE(QTest::qWaitFor([&] { return test_.state.pick.SelectionPending(); }, 5000));
  QApplication::processEvents();
  EXPECT_EQ(window().findChild<QLineEdit*>("Progress")->text(),
            "Select a navaid or press [Esc] to abort.");
  QTest::keyClick(window().listView(NavaidKind::Ndb), Qt::Key_Escape);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
  EXPECT_EQ(rows()->count(), 0);

  // Airports at both ends, then a VOR inserted on the arrival row.
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));  // LFPO
  pick("Insert", std::make_pair(NavaidKind::Airport, 0));  // LFOB
  EXPECT_EQ(route(), "APT LFPO|TOD *****|APT LFOB");       // one leg: no TOC
  QComboBox* departureRunway = child<QComboBox>("Departure runway");
  ASSERT_EQ(departureRunway->count(), 2);
  EXPECT_EQ(departureRunway->itemText(0), "06 /061/13829");
  EXPECT_EQ(child<QComboBox>("Arrival runway")->currentText(), "04 /041/13829");
  EXPECT_EQ(child<QLineEdit>("Arrival airport")->text(), "LFOB  ");
  selectRow(rows()->count() - 1);
  pick("Insert", std::make_pair(NavaidKind::Vor, 0));  // PON before the arrival
  EXPECT_EQ(route(), "APT LFPO|TOC *****|VOR PON|TOD *****|APT LFOB");
  selectRow(2);
  pick("Replace", std::make_pair(NavaidKind::Ndb, 0));  // AB instead of PON
  EXPECT_EQ(route(), "APT LFPO|TOC *****|NDB AB|TOD *****|APT LFOB");

  // Moves at the ends change nothing; the TOC and TOD are rebuilt.
  selectRow(2);
  click("Move Up");
  EXPECT_EQ(route(), "APT LFPO|TOC *****|NDB AB|TOD *****|APT LFOB");
  click("Move Dn");
  EXPECT_EQ(route(), "APT LFPO|TOC *****|NDB AB|TOD *****|APT LFOB");

  // Another departure runway moves the departure row to it.
  const std::string before = rowTexts()[0];
  departureRunway->setCurrentIndex(1);
  emit departureRunway->activated(1);
  EXPECT_EQ(rowTexts()[0].substr(82, 3), "241");
  EXPECT_NE(rowTexts()[0], before);

  // The generator on again: turn points, and D changes them.
  child<QCheckBox>("Enabled")->click();
  EXPECT_TRUE(child<QLineEdit>("Rotation distance")->isEnabled());
  EXPECT_EQ(route().substr(0, 28), "APT LFPO|BRD *****|ERD *****");
  const std::string brd = rowTexts()[1];
  child<QLineEdit>("Rotation distance")->setText("6.0");
  EXPECT_NE(rowTexts()[1], brd);

  QLineEdit* name = child<QLineEdit>("Flight plan file name");
  name->clear();
  QTest::keyClicks(name, "ORLY-BEAUVAIS");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // a sharp turn, if any, is kept
  click("Save");
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_FALSE(test_.state.planWindowOpen);
  const std::filesystem::path file = test_.navData / "FlightPlans" / "ORLY-BEAUVAIS.pln";
  const std::string saved = skat_test::ReadBytes(file);
  EXPECT_NE(saved.find("CLIMB_RATE=1500\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("RUNWAY=24 /241/13829\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("D=6.0\r\nR=5.0\r\n"), std::string::npos) << saved;
  MessageBoxSeam::clearNextAnswers();

  // Reopened in mode 1: the rows as stored, the generator on with its BRD row.
  OpenFileDialogSeam::setNextFile(QString::fromStdString(file.string()));
  clickWindow("Open");
  EXPECT_EQ(OpenFileDialogSeam::lastTitle(), "Select a Flight Plan");
  EXPECT_EQ(OpenFileDialogSeam::lastFilters(), "ND Flight Plan (*.pln)");
  ASSERT_TRUE(dialog().isVisible());
  EXPECT_EQ(child<QLineEdit>("Flight plan file name")->text(), "ORLY-BEAUVAIS");
  EXPECT_TRUE(child<QCheckBox>("Enabled")->isChecked());
  EXPECT_EQ(child<QComboBox>("Departure runway")->currentText(), "24 /241/13829");
  const size_t waypoints = saved.find("[WAYPOINTS]\r\n") + 13;
  EXPECT_EQ(rowTexts().front(), saved.substr(waypoints, saved.find("\r\n", waypoints) - waypoints));
  click("Cancel");
  EXPECT_FALSE(test_.state.planWindowOpen);

  // New keeps the name, the performance and the rotation settings.
  clickWindow("New");
  EXPECT_EQ(child<QLineEdit>("Flight plan file name")->text(), "ORLY-BEAUVAIS");
  EXPECT_EQ(child<QLineEdit>("Climb rate")->text(), "1500");
  EXPECT_EQ(child<QLineEdit>("Rotation distance")->text(), "6.0");
  EXPECT_EQ(rows()->count(), 0);
  click("Cancel");
}

TEST_F(FlightPlanDialogTest, ImportsBothForeignFormsWithAHandPick) {
  test_.sim.Write("Sim/trip.pln",
                  "[flightplan]\r\ncruising_altitude=8000\r\n"
                  "waypoint.0=LFPO, A, N48* 43.20', E2* 22.20', +000000.00,\r\n"
                  "waypoint.1=PON, V, N49* 6.00', E2* 0.00', +000000.00,\r\n"
                  "waypoint.2=LFOB, A, N49* 27.00', E2* 6.60', +000000.00,\r\n");
  OpenFileDialogSeam::setNextFile(QString::fromStdString((test_.sim / "Sim/trip.pln").string()));
  clickWindow("Import");
  EXPECT_EQ(OpenFileDialogSeam::lastTitle(), "Select a Flight Plan to import");
  EXPECT_EQ(OpenFileDialogSeam::lastFilters(),
            "FS200X Flight Plan (*.pln);;Flight Shop Flight Plan (*.fsp)");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
  EXPECT_EQ(child<QLineEdit>("Aircraft")->text(), "(from FS200X flight plan)");
  EXPECT_EQ(route(), "APT LFPO|BRD *****|ERD *****|VOR PON|BRA *****|ERA *****|APT LFOB");
  click("Cancel");

  // Flight Shop: QQQ is missing; the first time it is picked by hand (NDB
  // CD), the second time skipped.
  test_.sim.Write("Sim/trip.fsp",
                  "FS\r\nx\r\ny\r\n1500\r\n220\r\n1200\r\n250\r\n9000\r\n300\r\n"
                  "LFPO\r\nParis Orly\r\n-\r\nAPT\r\nQQQ\r\nNOWHERE\r\n-\r\nNDB\r\n"
                  "LFOB\r\nBeauvais-Tille\r\n-\r\nAPT\r\n99999\r\n");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  OpenFileDialogSeam::setNextFile(QString::fromStdString((test_.sim / "Sim/trip.fsp").string()));
  clickWindow("Import");
  ASSERT_TRUE(QTest::qWaitFor([&] { return test_.state.pick.SelectionPending(); }, 5000));
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_EQ(window().currentKind(), NavaidKind::Ndb);
  doubleClick(NavaidKind::Ndb, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
  const std::vector<std::string> shown = skat_test::ShownMessages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().substr(0, 36), "Warning : can't import a waypoint !|");
  EXPECT_NE(shown.back().find("QQQ    NOWHERE NDB cannot be found in database."),
            std::string::npos);
  EXPECT_EQ(child<QLineEdit>("Aircraft")->text(), "(from Flight Shop flight plan)");
  EXPECT_EQ(child<QLineEdit>("Climb rate")->text(), "1500");
  EXPECT_NE(route().find("APT LFPO|"), std::string::npos);
  EXPECT_NE(route().find("|NDB CD|"), std::string::npos) << route();
  click("Cancel");

  MessageBoxSeam::setNextAnswer(MessageAnswer::Cancel);
  OpenFileDialogSeam::setNextFile(QString::fromStdString((test_.sim / "Sim/trip.fsp").string()));
  clickWindow("Import");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog().workerRunning(); }, 5000));
  EXPECT_EQ(route().find("NDB"), std::string::npos) << route();
  EXPECT_NE(route().find("APT LFOB"), std::string::npos);
  click("Cancel");
}

// Qt's PDF writer gives every page a "/Type /Page" dictionary.
int PageCount(const std::string& pdf) {
  int count = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
       at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++count;
  }
  return count;
}

// The texts of the pages of a PDF from Qt's writer, blanks left out: the
// glyph numbers of each packed content stream, turned into characters by
// the font's ToUnicode map ("<first> <last> [<u> ...]" ranges).
std::vector<std::string> PageTexts(const std::string& pdf) {
  std::map<int, char> characters;
  const size_t map = pdf.find("beginbfrange");
  const QRegularExpression range("<([0-9A-F]{4})> <([0-9A-F]{4})> \\[([^\\]]*)\\]");
  const QString maps = QString::fromLatin1(pdf.substr(map, pdf.find("endbfrange", map) - map));
  for (auto it = range.globalMatch(maps); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    int glyph = match.captured(1).toInt(nullptr, 16);
    for (const QString& code : match.captured(3).split(' ', Qt::SkipEmptyParts)) {
      characters[glyph++] = static_cast<char>(code.mid(1, 4).toInt(nullptr, 16));
    }
  }
  std::vector<std::string> pages;
  for (size_t at = pdf.find("stream\n"); at != std::string::npos;
       at = pdf.find("stream\n", at + 1)) {
    const size_t begin = at + 7;
    const size_t end = pdf.find("endstream", begin);
    QByteArray packed(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>((end - begin) * 8), packed.data());
    packed.append(pdf.data() + begin, static_cast<qsizetype>(end - begin));
    const QByteArray content = qUncompress(packed);
    if (!content.startsWith("/GSa")) continue;
    std::string text;
    const QRegularExpression glyph("<([0-9A-F]{4})> Tj");
    for (auto it = glyph.globalMatch(QString::fromLatin1(content)); it.hasNext();) {
      const char c = characters[it.next().captured(1).toInt(nullptr, 16)];
      if (static_cast<unsigned char>(c) > ' ') text += c;
    }
    pages.push_back(text);
  }
  return pages;
}

std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

TEST_F(FlightPlanDialogTest, PrintsToPdfAndTellsAFailedInit) {
  clickWindow("New");
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));
  for (int i = 0; i < 14; ++i) {
    selectRow(rows()->count() - 1);
    pick("Insert", std::make_pair(NavaidKind::Intersection, i % 2));
  }
  pick("Insert", std::make_pair(NavaidKind::Airport, 0));
  ASSERT_GT(rows()->count(), 15);  // more than the first page holds

  const std::filesystem::path pdf = test_.sim / "plan.pdf";
  PrintDialogSeam::setNextPdfFile(QString::fromStdString(pdf.string()));
  click("Print");
  const std::string bytes = skat_test::ReadBytes(pdf);
  ASSERT_TRUE(bytes.starts_with("%PDF-")) << bytes.substr(0, 20);
  EXPECT_EQ(PageCount(bytes), 2);
  const std::vector<std::string> pages = PageTexts(bytes);
  ASSERT_EQ(pages.size(), 2u);
  const std::vector<planner::PrintPage> layout = planner::LayoutPrintout(launcher_->plan());
  const planner::PrintLine& firstRow = layout[0].lines[11];
  ASSERT_EQ(firstRow.lineNumber, 17);
  EXPECT_NE(pages[0].find(WithoutBlanks(firstRow.text)), std::string::npos) << pages[0] << "\n"
                                                                            << firstRow.text;
  EXPECT_NE(pages[1].find("(lastpage)"), std::string::npos) << pages[1];

  // No file can be written: the printer cannot start.
  PrintDialogSeam::setNextPdfFile(QString::fromStdString((test_.sim / "missing/x.pdf").string()));
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Print");
  ASSERT_FALSE(skat_test::ShownMessages().empty());
  EXPECT_EQ(skat_test::ShownMessages().back(), "Error !|Print init failed.");
  discard();
}

}  // namespace

TEST_F(FlightPlanDialogTest, NumberFieldsTakeOnlyWhatTheirColumnsHold) {
  clickWindow("New");
  // Typed as a user would: keys beyond a column's width, signs and
  // exponents are not taken.
  const std::pair<const char*, const char*> typed[] = {
      {"Cruise altitude", "999999999999"},
      {"Climb rate", "1234567"},
      {"Descent rate", "-1500"},
      {"Climb speed", "123456"},
      {"Descent speed", "2e9"},
      {"Rotation distance", "1e308"},
      {"Rotation radius", "-5.25"},
  };
  const std::map<std::string, QString> kept = {
      {"Cruise altitude", "99999"}, {"Climb rate", "12345"}, {"Descent rate", "1500"},
      {"Climb speed", "1234"},      {"Descent speed", "29"}, {"Rotation distance", "13"},
      {"Rotation radius", "5.2"},
  };
  for (const auto& [name, keys] : typed) {
    QLineEdit* field = child<QLineEdit>(name);
    field->clear();
    QTest::keyClicks(field, keys);
    EXPECT_EQ(field->text(), kept.at(name)) << name;
  }
  discard();
}

TEST_F(FlightPlanDialogTest, SaveRefusesNamesThatAreNotFileNamesAndLongPlansAreNotOpened) {
  clickWindow("New");
  pick("Insert", std::make_pair(NavaidKind::Airport, 3));  // a plan with something to save
  MessageBoxSeam::clearShown();
  const std::string rule =
      "\" is not a file name: a name may not be empty or hold \"/\", \"\\\", \"..\" or control "
      "characters.";
  QLineEdit* name = child<QLineEdit>("Flight plan file name");
  name->clear();
  QTest::keyClicks(name, "../../evil");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Save");
  ASSERT_EQ(MessageBoxSeam::shown().size(), 1u);
  EXPECT_EQ(MessageBoxSeam::shown()[0].caption, "Error !");
  EXPECT_EQ(MessageBoxSeam::shown()[0].text, "The flight plan name \"../../evil" + rule);
  EXPECT_TRUE(dialog().isVisible());  // the name can be mended

  QLineEdit* aircraft = child<QLineEdit>("Aircraft");
  aircraft->clear();
  QTest::keyClicks(aircraft, "../B737");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  click("Save performance");
  ASSERT_EQ(MessageBoxSeam::shown().size(), 2u);
  EXPECT_EQ(MessageBoxSeam::shown()[1].text, "The aircraft name \"../B737" + rule);
  EXPECT_FALSE(std::filesystem::exists(test_.navData / "FlightPlans"));
  EXPECT_FALSE(std::filesystem::exists(test_.navData.parent_path() / "evil.pln"));
  EXPECT_FALSE(std::filesystem::exists(test_.navData / "B737.perf"));
  discard();

  // A plan file of more rows than a plan holds: told, and no dialog opens.
  std::string text = "[WAYPOINTS]\r\n";
  for (int i = 0; i < 300; ++i) text += "INT  W" + std::to_string(i) + "\r\n";
  test_.sim.Write("Sim/NavData/FlightPlans/LONG.pln", text);
  const std::filesystem::path file = test_.navData / "FlightPlans" / "LONG.pln";
  OpenFileDialogSeam::setNextFile(QString::fromStdString(file.string()));
  MessageBoxSeam::setNextAnswer(MessageAnswer::Ok);
  clickWindow("Open");
  ASSERT_EQ(MessageBoxSeam::shown().size(), 4u);  // the third: discard the changes
  EXPECT_EQ(MessageBoxSeam::shown()[3].text,
            "The flight plan has 300 rows: a plan holds at most 256 rows, as many as the "
            "navigation display shows.");
  EXPECT_FALSE(dialog().isVisible());
  EXPECT_FALSE(test_.state.planWindowOpen);
  EXPECT_EQ(skat_test::ReadBytes(file), text);
}

TEST_F(FlightPlanDialogTest, ARowNotInTheLayoutIsShownAsStoredUntilRemoved) {
  const auto fix = [](double lonDeg) {
    return planner::FormatPlanRow(planner::BuildPlanRow(
        NavaidKind::Intersection, testing_support::IntersectionLine("FIX", 0.0, lonDeg)));
  };
  const std::vector<std::string> stored = {fix(0), "INT  FIX    typed by hand", fix(1)};
  std::string text = "[WAYPOINTS]\r\n";
  for (const std::string& row : stored) text += row + "\r\n";
  test_.sim.Write("Sim/NavData/FlightPlans/HAND.pln", text);
  OpenFileDialogSeam::setNextFile(
      QString::fromStdString((test_.navData / "FlightPlans" / "HAND.pln").string()));
  clickWindow("Open");
  ASSERT_TRUE(dialog().isVisible());
  EXPECT_EQ(rowTexts(), stored);

  // A change computes nothing while the row is there; once it is removed,
  // the legs are computed.
  setField("Cruise altitude", "5000");
  EXPECT_EQ(rowTexts(), stored);
  selectRow(1);
  click("Remove");
  const std::vector<std::string> computed = rowTexts();
  ASSERT_EQ(computed.size(), 2u);
  EXPECT_EQ(computed[0].substr(74), " 00000       0000.0  00:00:00");
  EXPECT_EQ(computed[1].substr(74), " 00000       0060.0");
  MessageBoxSeam::setNextAnswer(MessageAnswer::Yes);  // the edited plan is thrown away
  click("Cancel");
  EXPECT_FALSE(dialog().isVisible());
}
