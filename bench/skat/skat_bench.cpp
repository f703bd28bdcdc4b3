// The desktop program on the real-world database: start-up to a usable
// window against `skat-cli check` on the same files and against a plain
// window of the same widgets, one list model data() call, one "Find ID"
// and one search keystroke on the 100,000-line intersection list.
#include <QAbstractListModel>
#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "navdb/database.h"
#include "shell/cli/commands.h"
#include "shell/skat/database_commands.h"
#include "shell/skat/duplicate_dialog.h"
#include "shell/skat/entry_list_model.h"
#include "shell/skat/main_window.h"
#include "shell/skat/message_box.h"
#include "shell/skat/skat_program.h"
#include "shell/skat/ui_bridge.h"
#include "tests/support/temp_folder.h"
#include "tools/navdata_database.h"
#include "tools/scenery_writer/navdata_scenery.h"
#include "xplane/navdata_reader.h"

namespace {

using navdb::NavaidKind;

struct Fixture {
  testing_support::TempFolder simulator;  // holds NavData with the five files
  std::vector<std::string> identifiers;   // of the intersections, shuffled
  std::array<std::string, navdb::kAllKinds.size()> firstLines;
  std::array<int, navdb::kAllKinds.size()> lineCounts{};
};

Fixture& Shared() {
  static Fixture* fixture = [] {
    auto* f = new Fixture;
    navdb::Database db;
    const platform::Status built = navdata_tools::BuildRealWorldDatabase(db);
    if (!built) {
      std::fprintf(stderr, "cannot read the real-world navdata: %s\n",
                   built.error().message.c_str());
      std::exit(1);
    }
    db.folder = f->simulator / "NavData";
    std::filesystem::create_directories(db.folder);
    navdb::SaveDatabase(db, {});
    size_t entries = 0;
    for (const navdb::EntryList& list : db.lists) entries += list.EntryCount();
    for (size_t kind = 0; kind < navdb::kAllKinds.size(); ++kind) {
      f->lineCounts[kind] = static_cast<int>(db.lists[kind].Count());
      if (db.lists[kind].Count() > 0) f->firstLines[kind] = db.lists[kind].GetLine(0);
    }
    db.List(NavaidKind::Intersection).ForEach([&](size_t, std::string_view line) {
      f->identifiers.emplace_back(line.substr(0, 5));
    });
    std::shuffle(f->identifiers.begin(), f->identifiers.end(), std::mt19937(42));
    std::printf("real-world database: %zu entries\n", entries);
    return f;
  }();
  return *fixture;
}

StartOptions Options() {
  StartOptions options;
  options.arguments = {QString::fromStdString(Shared().simulator.path().string())};
  options.currentDirectory = QString::fromStdString(Shared().simulator.path().string());
  options.instanceKey = QStringLiteral("skat-bench-%1").arg(QCoreApplication::applicationPid());
  options.loadingMinimum = std::chrono::milliseconds(0);
  return options;
}

void WaitUntilReady(SkatProgram& program) {
  while (!program.ready()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void CliCheck_Baseline(benchmark::State& state) {
  const std::string navData = "--navdata=" + (Shared().simulator / "NavData").string();
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream out, err;
    const int code = cli::RunSkatCli({navData, "check"}, in, out, err, false);
    if (code != 0) state.SkipWithError("skat-cli check failed");
    benchmark::DoNotOptimize(out.str().size());
  }
}

// The load alone on a worker thread, as the program runs it.
void LoadOnWorker(benchmark::State& state) {
  for (auto _ : state) {
    navdb::Database db;
    db.folder = Shared().simulator / "NavData";
    std::jthread([&db] { navdb::LoadDatabase(db, {}); }).join();
    benchmark::DoNotOptimize(db.lists[0].Count());
  }
}

// From the start to the main window showing the loaded lists, without the
// loading window's minimum of two seconds.
void SkatStartup(benchmark::State& state) {
  for (auto _ : state) {
    auto program = std::make_unique<SkatProgram>(Options());
    if (program->start() != StartOutcome::Started) state.SkipWithError("the program did not start");
    WaitUntilReady(*program);
    state.PauseTiming();
    program->window()->close();
    program.reset();
    state.ResumeTiming();
  }
}

// As many rows as a list of the database, each the same text: a model
// that costs nothing.
class SameRowModel : public QAbstractListModel {
 public:
  SameRowModel(int rows, const std::string& text, QObject* parent)
      : QAbstractListModel(parent), rows_(rows), text_(QString::fromLatin1(text)) {}
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : rows_;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    return index.isValid() && role == Qt::DisplayRole ? QVariant(text_) : QVariant();
  }

 private:
  int rows_;
  QString text_;
};

QPushButton* AddButtons(QWidget* parent, QBoxLayout* layout,
                        std::initializer_list<const char*> captions) {
  QPushButton* last = nullptr;
  for (const char* caption : captions) {
    last = new QPushButton(caption, parent);
    layout->addWidget(last);
  }
  return last;
}

QWidget* FloorCommandRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  auto* navaids = new QGroupBox("Navaids", row);
  AddButtons(navaids, new QHBoxLayout(navaids),
             {"Scan New Scenery", "Rebuild database", "Restore original DB"});
  layout->addWidget(navaids);
  auto* plans = new QGroupBox("Flight Plan", row);
  AddButtons(plans, new QHBoxLayout(plans), {"Open", "New", "Import"});
  layout->addWidget(plans);
  layout->addStretch(1);
  return row;
}

QWidget* FloorPathRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->addWidget(new QLabel("Root path for scenery scan :", row));
  layout->addWidget(new QLineEdit(row), 1);
  AddButtons(row, layout, {"Change path", "View index", "Hand edits", "Map"});
  return row;
}

QWidget* FloorTabs(QWidget* parent) {
  auto* tabs = new QTabWidget(parent);
  for (size_t kind = 0; kind < navdb::kAllKinds.size(); ++kind) {
    auto* page = new QWidget(tabs);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel("ID      Name", page));
    auto* view = new QListView(page);
    view->setUniformItemSizes(true);
    view->setModel(new SameRowModel(Shared().lineCounts[kind], Shared().firstLines[kind], view));
    layout->addWidget(view, 1);
    const std::string_view caption = navdb::InfoOf(navdb::kAllKinds[kind]).tabCaption;
    tabs->addTab(page, QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
  }
  return tabs;
}

QWidget* FloorSearchAndStatusRows(QWidget* parent) {
  auto* rows = new QWidget(parent);
  auto* column = new QVBoxLayout(rows);
  auto* search = new QHBoxLayout;
  search->addWidget(new QLabel("Find ID", rows));
  search->addWidget(new QLineEdit(rows));
  AddButtons(rows, search, {"Filter"});
  search->addWidget(new QLineEdit(rows), 1);
  for (size_t kind = 0; kind < navdb::kAllKinds.size(); ++kind) {
    auto* count = new QLineEdit(QString::number(Shared().lineCounts[kind]), rows);
    count->setReadOnly(true);
    search->addWidget(count);
  }
  search->addWidget(new QLabel("entries", rows));
  column->addLayout(search);
  column->addWidget(new QLabel("Double click a list item to Edit, Delete, or Add entries.", rows));
  auto* status = new QHBoxLayout;
  status->addWidget(new QLabel("Status : ready", rows));
  status->addWidget(new QLineEdit(rows), 1);
  auto* progress = new QProgressBar(rows);
  progress->hide();
  status->addWidget(progress);
  AddButtons(rows, status, {"About", "Help", "Quit"});
  column->addLayout(status);
  return rows;
}

// A plain main window with the widgets of the program's (its menus,
// buttons, fields and the four lists with as many rows, through a model
// that costs nothing), built, shown and painted once.
std::unique_ptr<QMainWindow> ShownFloorWindow() {
  auto window = std::make_unique<QMainWindow>();
  for (const char* menu : {"&File", "&Edit", "&Database", "&Help"}) {
    window->menuBar()->addMenu(menu)->addAction("Item");
  }
  auto* central = new QWidget(window.get());
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(FloorCommandRow(central));
  layout->addWidget(FloorPathRow(central));
  layout->addWidget(FloorTabs(central), 1);
  layout->addWidget(FloorSearchAndStatusRows(central));
  window->setCentralWidget(central);
  window->resize(window->sizeHint().expandedTo(QSize(900, 600)));
  window->show();
  window->repaint();
  QApplication::processEvents();
  return window;
}

// The floor of the start-up: the plain window alone; no database, no
// server, no load.
void SkatStartupFloor_Baseline(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<QMainWindow> window = ShownFloorWindow();
    state.PauseTiming();
    window->close();
    window.reset();
    state.ResumeTiming();
  }
}

// The floor of a start-up on the world database: the same database loaded
// on a worker from the very start while the plain window is built and
// shown, and the window painted once more when the load is over (the
// lists shown loaded). No splash, no server, no hand-over of progress.
void SkatStartupFloorWithLoad_Baseline(benchmark::State& state) {
  for (auto _ : state) {
    auto db = std::make_unique<navdb::Database>();
    db->folder = Shared().simulator / "NavData";
    std::jthread load([&db] { navdb::LoadDatabase(*db, {}); });
    std::unique_ptr<QMainWindow> window = ShownFloorWindow();
    load.join();
    window->repaint();
    QApplication::processEvents();
    state.PauseTiming();
    window->close();
    window.reset();
    db.reset();
    state.ResumeTiming();
  }
}

struct OpenWindow {
  OpenWindow() : program(Options()) {
    program.start();
    WaitUntilReady(program);
    program.window()->showKindTab(NavaidKind::Intersection);
  }
  SkatProgram program;
};

OpenWindow& Window() {
  static OpenWindow* window = new OpenWindow;
  return *window;
}

void GetLine_Baseline(benchmark::State& state) {
  const navdb::EntryList& list = Window().program.state().db.List(NavaidKind::Intersection);
  size_t row = 0;
  for (auto _ : state) {
    row = (row + 7919) % list.Count();
    benchmark::DoNotOptimize(list.GetLine(row).data());
  }
}

void ModelData(benchmark::State& state) {
  EntryListModel* model = Window().program.window()->model(NavaidKind::Intersection);
  int row = 0;
  for (auto _ : state) {
    row = (row + 7919) % model->rowCount();
    benchmark::DoNotOptimize(model->data(model->index(row), Qt::DisplayRole));
  }
}

void FindPrefix_Baseline(benchmark::State& state) {
  const navdb::EntryList& list = Window().program.state().db.List(NavaidKind::Intersection);
  size_t next = 0;
  for (auto _ : state) {
    const std::string& id = Shared().identifiers[next++ % Shared().identifiers.size()];
    benchmark::DoNotOptimize(list.FindPrefix(id));
  }
}

// Typing an identifier into "Find ID": the search, the selection and the
// scroll to the found line. What matters is the absolute time per keystroke
// (far below one frame of 16 ms); the ratio only watches that the window's
// part stays small.
void FindId(benchmark::State& state) {
  auto* find = Window().program.window()->findChild<QLineEdit*>("Find ID");
  size_t next = 0;
  for (auto _ : state) {
    const std::string& id = Shared().identifiers[next++ % Shared().identifiers.size()];
    find->setText(QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size())).trimmed());
  }
}

// The floor of a search keystroke: every line of the 100,000-line list
// read once, byte by byte.
void ScanRows_Baseline(benchmark::State& state) {
  const navdb::EntryList& list = Window().program.state().db.List(NavaidKind::Intersection);
  for (auto _ : state) {
    size_t spaces = 0;
    list.ForEach([&spaces](size_t, std::string_view line) {
      for (char c : line) spaces += c == ' ';
    });
    benchmark::DoNotOptimize(spaces);
  }
}

// One keystroke in the search box on the 100,000-line list: a new text
// each time (never one that narrows the last), the whole list searched,
// the count shown and the view told. The goal is 50 ms a keystroke.
void SearchKeystroke(benchmark::State& state) {
  MainWindow& window = *Window().program.window();
  auto* search = window.findChild<QLineEdit*>("Search");
  size_t next = 0;
  int shown = 0;
  for (auto _ : state) {
    const std::string& id = Shared().identifiers[next++ % Shared().identifiers.size()];
    search->setText(QString::fromLatin1(id.data(), 2));
    shown += window.model(NavaidKind::Intersection)->rowCount();
  }
  state.counters["rowsShown"] = benchmark::Counter(shown, benchmark::Counter::kAvgIterations);
  search->clear();
}

// The whole world as scenery files, and an empty NavData folder to scan into.
struct ScanFolders {
  std::filesystem::path scenery;
  std::filesystem::path navData;
};

const ScanFolders& Scenery() {
  static const ScanFolders folders = [] {
    xplane::NavData data;
    const platform::Status built =
        xplane::ReadNavDataFolder(navdata_tools::RealNavDataFolder(), data);
    if (!built) std::fprintf(stderr, "skat_bench: %s\n", built.error().message.c_str());
    static const testing_support::TempFolder base;
    ScanFolders made{base / "Scenery", base / "NavData"};
    scenery_writer::SceneryTreeCounts counts;
    if (const platform::Status written =
            scenery_writer::WriteSceneryTree(data, made.scenery, counts);
        !written) {
      std::fprintf(stderr, "skat_bench: %s\n", written.error().message.c_str());
    }
    return made;
  }();
  return folders;
}

void EmptyNavData() {
  std::filesystem::remove_all(Scenery().navData);
  std::filesystem::create_directories(Scenery().navData);
}

void ScanCli_Baseline(benchmark::State& state) {
  const std::string navData = "--navdata=" + Scenery().navData.string();
  for (auto _ : state) {
    state.PauseTiming();
    EmptyNavData();
    state.ResumeTiming();
    std::istringstream in;
    std::ostringstream out, err;
    const int code =
        cli::RunSkatCli({navData, "scan", Scenery().scenery.string(), "--duplicates=keep-both"}, in,
                        out, err, false);
    if (code != 0) state.SkipWithError("skat-cli scan failed");
  }
}

// "Scan New Scenery" in the window: the list grows live, the counts, status
// and progress follow, the summary is answered through the seam.
void ScanWindow(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    EmptyNavData();
    auto appState = std::make_unique<shell::AppState>();
    appState->db.folder = Scenery().navData;
    appState->sceneryRootPath = Scenery().scenery.string();
    auto window = std::make_unique<MainWindow>(*appState);
    window->show();
    bool loaded = false;
    window->commands().startLoad([&loaded] { loaded = true; });
    while (!loaded) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    DuplicateDialog::setNextAnswer({scanner::DuplicateOutcome::KeepBoth, true});
    MessageBoxSeam::setNextAnswer(navdb::MessageAnswer::Ok);
    state.ResumeTiming();
    window->commands().scan();
    while (window->commands().workerRunning()) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.PauseTiming();
    DuplicateDialog::clearNextAnswers();
    MessageBoxSeam::clearNextAnswers();
    state.counters["handOvers"] = static_cast<double>(window->bridge().handOvers());
    window->close();
    window.reset();
    appState.reset();
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(ScanCli_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(ScanWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(CliCheck_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadOnWorker)->Unit(benchmark::kMillisecond);
BENCHMARK(SkatStartup)->Unit(benchmark::kMillisecond);
BENCHMARK(SkatStartupFloor_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(SkatStartupFloorWithLoad_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(GetLine_Baseline);
BENCHMARK(ModelData);
BENCHMARK(FindPrefix_Baseline);
BENCHMARK(FindId)->Unit(benchmark::kMicrosecond);
BENCHMARK(ScanRows_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchKeystroke)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Shared();
  return bench_support::RunWithRatios(argc, argv,
                                      {{"SkatStartup", "CliCheck_Baseline", 1.5},
                                       {"SkatStartup", "SkatStartupFloor_Baseline", 1.5},
                                       {"SkatStartup", "SkatStartupFloorWithLoad_Baseline", 1.5},
                                       {"ScanWindow", "ScanCli_Baseline", 1.5},
                                       {"ModelData", "GetLine_Baseline", 50.0},
                                       {"FindId", "FindPrefix_Baseline", 100.0},
                                       {"SearchKeystroke", "ScanRows_Baseline", 20.0}});
}
