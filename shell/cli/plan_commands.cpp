#include <algorithm>
#include <filesystem>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "navdb/database.h"
#include "planner/leg_computation.h"
#include "planner/performance_file.h"
#include "planner/plan_file.h"
#include "planner/plan_import.h"
#include "planner/plan_rows.h"
#include "planner/printout.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/win1252.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/printout_pdf.h"

namespace cli {
namespace {

using navdb::NavaidKind;

int RunPlan(CliContext& context, const std::vector<std::string>& args);
int RunPerf(CliContext& context, const std::vector<std::string>& args);

const CliCommand kPlan{
    "plan", "create, recompute, import or print ND flight plans",
    "plan create NAME --departure ICAO[/RUNWAY] --arrival ICAO[/RUNWAY] [--via KIND:ID ...]\n"
    "            [--perf AIRCRAFT | --climb-rate N --climb-speed N --descent-rate N\n"
    "             --descent-speed N --cruise-altitude N --cruise-speed TEXT]\n"
    "            [--sid-star D,R | --no-sid-star] [--yes]\n"
    "       plan compute FILE.pln [--out OUT.pln]\n"
    "       plan import FILE.fsp|FILE.pln [--name NAME] [--missing=ask|skip] [--yes]\n"
    "       plan print FILE.pln (--text | --pdf OUT.pdf [--paper a4|letter])\n\n"
    "Plans and performance files live in FlightPlans under the NavData folder.\n"
    "create builds the route as the Flight Plan dialog does (first database line\n"
    "of each identifier; KIND is ndb, vor, apt or int; RUNWAY selects the runway\n"
    "entry that begins with it), computes the legs and saves FlightPlans/NAME.pln.\n"
    "compute reloads a plan, recomputes it and writes it back (or to OUT.pln).\n"
    "import reads a Flight Shop or FS200X plan; a Flight Shop waypoint missing\n"
    "from the database is asked for on the terminal (KIND:ID, empty to skip) or\n"
    "skipped. print writes the printout pages, separated by form feeds, or with\n"
    "--pdf a PDF document in Liberation Mono, one page per printout page, on A4\n"
    "paper unless --paper letter is given.\n"
    "Questions (overwrite, sharp turn) are answered No unless --yes is given.\n",
    RunPlan};

const CliCommand kPerf{
    "perf", "save or show aircraft performance files",
    "perf save AIRCRAFT --climb-rate N --climb-speed N --descent-rate N --descent-speed N\n"
    "          --cruise-altitude N --cruise-speed TEXT [--yes]\n"
    "       perf show AIRCRAFT\n\n"
    "save writes FlightPlans/AIRCRAFT.perf (an existing file is replaced only with\n"
    "--yes); show prints its seven lines as they are read back.\n",
    RunPerf};

// Options of the form "--key value" or "--key=value"; repeated keys keep all values.
struct Options {
  std::vector<std::string> positional;
  std::multimap<std::string, std::string> values;
  bool Has(const std::string& key) const { return values.count(key) > 0; }
  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
  }
};

const std::vector<std::string> kFlags = {"--yes", "--no-sid-star", "--text"};
const std::vector<std::string> kValueOptions = {
    "--departure",    "--arrival",       "--via",
    "--perf",         "--climb-rate",    "--climb-speed",
    "--descent-rate", "--descent-speed", "--cruise-altitude",
    "--cruise-speed", "--sid-star",      "--out",
    "--name",         "--missing",       "--pdf",
    "--paper"};

bool ParseOptions(const std::vector<std::string>& args, size_t from, Options& options,
                  std::string& problem) {
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      options.positional.push_back(arg);
    } else if (std::find(kFlags.begin(), kFlags.end(), arg) != kFlags.end()) {
      options.values.emplace(arg, "");
    } else if (const std::string key = arg.substr(0, arg.find('='));
               std::find(kValueOptions.begin(), kValueOptions.end(), key) == kValueOptions.end()) {
      problem = "unknown option '" + key + "'";
      return false;
    } else if (const size_t eq = arg.find('='); eq != std::string::npos) {
      options.values.emplace(arg.substr(0, eq), arg.substr(eq + 1));
    } else if (i + 1 < args.size()) {
      options.values.emplace(arg, args[++i]);
    } else {
      problem = arg + " needs a value";
      return false;
    }
  }
  return true;
}

CliAnswers AnswersFor(const Options& options) {
  CliAnswers answers;
  answers.yesNo = options.Has("--yes") ? navdb::MessageAnswer::Yes : navdb::MessageAnswer::No;
  answers.printStatus = false;
  return answers;
}

navdb::Database LoadedDatabase(CliContext& context, const navdb::UiCallbacks& ui) {
  navdb::Database db;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  return db;
}

bool ReadNumber(const Options& options, const std::string& key, int32_t& value,
                std::string& problem) {
  if (!options.Has(key)) return true;
  const std::string text = options.Get(key);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
    problem = key + " takes a whole number, not '" + text + "'";
    return false;
  }
  value = planner::ReadLeadingDigits(text);
  return true;
}

bool ReadPerformanceOptions(const Options& options, planner::AircraftPerformance& p,
                            std::string& problem) {
  if (options.Has("--cruise-speed")) {
    p.cruiseSpeed = planner::CutText(options.Get("--cruise-speed"), planner::kMaxCruiseSpeedLength);
  }
  return ReadNumber(options, "--climb-rate", p.climbRateFpm, problem) &&
         ReadNumber(options, "--climb-speed", p.climbSpeedKt, problem) &&
         ReadNumber(options, "--descent-rate", p.descentRateFpm, problem) &&
         ReadNumber(options, "--descent-speed", p.descentSpeedKt, problem) &&
         ReadNumber(options, "--cruise-altitude", p.cruiseAltitudeFt, problem);
}

std::optional<NavaidKind> KindNamed(const std::string& name) {
  if (name == "ndb") return NavaidKind::Ndb;
  if (name == "vor") return NavaidKind::Vor;
  if (name == "apt") return NavaidKind::Airport;
  if (name == "int") return NavaidKind::Intersection;
  return std::nullopt;
}

// The first line of `kind` whose identifier is `id`.
std::optional<navdb::WaypointPick> FindNavaid(const navdb::Database& db, NavaidKind kind,
                                              std::string id) {
  planner::PadTo(id, 7);
  const std::optional<size_t> row = db.list(kind).FindPrefix(id);
  if (!row || db.list(kind).HoldsOnlyPlaceholder()) return std::nullopt;
  return navdb::WaypointPick{kind, *row};
}

// Inserts as the dialog's Insert does with the pick scripted.
void InsertAsUser(planner::PlannerState& state, const navdb::Database& db, int position,
                  navdb::WaypointPick pick) {
  navdb::UiCallbacks ui;
  ui.pickWaypoint = [pick](const navdb::WaypointPickRequest&) { return pick; };
  planner::RunWaypointSelection(state, db, position, ui);
}

bool AddEnd(CliContext& context, planner::PlannerState& state, const navdb::Database& db,
            const std::string& endText, bool departure) {
  const size_t slash = endText.find('/');
  const std::string icao = endText.substr(0, slash);
  const auto pick = FindNavaid(db, NavaidKind::Airport, icao);
  if (!pick) {
    context.err << "skat-cli: airport " << icao << " is not in the database\n";
    return false;
  }
  planner::RunwayChoice& runway =
      departure ? state.dialog.departureRunway : state.dialog.arrivalRunway;
  runway.editText = slash == std::string::npos ? std::string() : endText.substr(slash + 1);
  InsertAsUser(state, db, -1, *pick);
  return true;
}

bool AddVias(CliContext& context, planner::PlannerState& state, const navdb::Database& db,
             const Options& options) {
  for (auto [it, end] = options.values.equal_range("--via"); it != end; ++it) {
    const std::string& via = it->second;
    const size_t colon = via.find(':');
    const auto kind = colon == std::string::npos ? std::nullopt : KindNamed(via.substr(0, colon));
    if (!kind) {
      context.err << "skat-cli: --via takes KIND:ID with KIND ndb, vor, apt or int, not '" << via
                  << "'\n";
      return false;
    }
    const auto pick = FindNavaid(db, *kind, via.substr(colon + 1));
    if (!pick) {
      context.err << "skat-cli: " << via << " is not in the database\n";
      return false;
    }
    // Selected arrival row, then Insert: the waypoint goes before the arrival.
    std::vector<std::string>& rows = state.dialog.rows;
    rows.insert(rows.end() - 1,
                planner::BuildPlanRow(pick->kind, db.list(pick->kind).GetLine(pick->row)));
    planner::ComputeLegs(state, db.list(NavaidKind::Airport));
  }
  return true;
}

bool ReadSidStar(const Options& options, planner::PlannerState& state, std::string& problem) {
  if (options.Has("--no-sid-star")) return true;
  if (!options.Has("--sid-star")) return true;
  const std::string text = options.Get("--sid-star");
  const size_t comma = text.find(',');
  if (comma == std::string::npos) {
    problem = "--sid-star takes D,R";
    return false;
  }
  state.plan.rotationDistanceNm = platform::ReadDouble(text);
  state.plan.rotationRadiusNm = platform::ReadDouble(text, comma + 1);
  return true;
}

int PlanCreate(CliContext& context, const Options& options) {
  std::string problem;
  if (options.positional.size() != 1)
    return UsageError(context, kPlan, "plan create takes one NAME");
  if (!options.Has("--departure") || !options.Has("--arrival")) {
    return UsageError(context, kPlan, "plan create needs --departure and --arrival");
  }
  const navdb::UiCallbacks ui = MakeCliUi(context, AnswersFor(options));
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (options.Has("--perf")) {
    const auto path = planner::PerformanceFilePath(state, options.Get("--perf"));
    if (!planner::LoadPerformanceFile(state, path, ui)) return kExitFailure;
  }
  if (!ReadPerformanceOptions(options, state.plan.performance, problem) ||
      !ReadSidStar(options, state, problem)) {
    return UsageError(context, kPlan, problem);
  }
  const navdb::Database db = LoadedDatabase(context, ui);
  planner::OpenPlanDialog(state, planner::PlanOpenMode::New);
  state.plan.planName = options.positional[0];
  state.dialog.sidStarEnabled = !options.Has("--no-sid-star");
  if (!AddEnd(context, state, db, options.Get("--departure"), true) ||
      !AddEnd(context, state, db, options.Get("--arrival"), false) ||
      !AddVias(context, state, db, options)) {
    return kExitFailure;
  }
  // The runway lists were filled by the first computation; this one places
  // the airports at their runways' centres as the next change in the dialog would.
  planner::ComputeLegs(state, db.list(NavaidKind::Airport));
  if (!planner::SaveFlightPlan(state, ui)) return kExitFailure;
  context.out << planner::PlanFilePath(state, state.plan.planName).string() << '\n';
  return kExitOk;
}

int PlanCompute(CliContext& context, const Options& options) {
  if (options.positional.size() != 1)
    return UsageError(context, kPlan, "plan compute takes one FILE");
  const navdb::UiCallbacks ui = MakeCliUi(context, AnswersFor(options));
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  const std::filesystem::path file = options.positional[0];
  if (!planner::LoadFlightPlan(state, file, ui)) return kExitFailure;
  const navdb::Database db = LoadedDatabase(context, ui);
  // Once for the runway texts shown at opening, once for the first change.
  planner::ComputeLegs(state, db.list(NavaidKind::Airport));
  planner::ComputeLegs(state, db.list(NavaidKind::Airport));
  if (state.rotationWarningRow != 0) {
    context.err << "skat-cli: the rotation angle at row " << state.rotationWarningRow
                << " is too high\n";
  }
  const std::filesystem::path out =
      options.Has("--out") ? std::filesystem::path(options.Get("--out")) : file;
  if (!platform::ReplaceFileAtomically(out, planner::EncodePlanFile(state)).ok()) {
    context.err << "skat-cli: cannot write " << out.string() << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

// Terminal picks for Flight Shop waypoints missing from the database.
std::optional<navdb::WaypointPick> AskForWaypoint(CliContext& context, const navdb::Database& db) {
  while (true) {
    context.err << "Waypoint (KIND:ID, empty to skip): " << std::flush;
    std::string answer;
    if (!std::getline(context.in, answer) || answer.empty()) return std::nullopt;
    const size_t colon = answer.find(':');
    const auto kind =
        colon == std::string::npos ? std::nullopt : KindNamed(answer.substr(0, colon));
    if (kind) {
      if (auto pick = FindNavaid(db, *kind, answer.substr(colon + 1))) return pick;
    }
    context.err << "skat-cli: no such navaid\n";
  }
}

int PlanImport(CliContext& context, const Options& options) {
  if (options.positional.size() != 1)
    return UsageError(context, kPlan, "plan import takes one FILE");
  const std::string missing = options.Has("--missing") ? options.Get("--missing") : "ask";
  if (missing != "ask" && missing != "skip") {
    return UsageError(context, kPlan, "--missing takes ask or skip");
  }
  navdb::UiCallbacks ui = MakeCliUi(context, AnswersFor(options));
  const std::filesystem::path file = options.positional[0];
  const auto form = planner::ForeignFormOf(file);
  if (!form) return UsageError(context, kPlan, "plan import reads .fsp or .pln files");
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (!planner::ParseForeignPlanFile(state, file, *form, ui)) return kExitFailure;
  const navdb::Database db = LoadedDatabase(context, ui);
  const bool skip = missing == "skip";
  const auto showMessage = ui.messageBox;
  ui.messageBox = [showMessage, skip](const navdb::MessageRequest& request) {
    const navdb::MessageAnswer answer = showMessage(request);
    if (request.buttons == navdb::MessageButtons::OkCancel && skip)
      return navdb::MessageAnswer::Cancel;
    return answer;
  };
  ui.pickWaypoint = [&context, &db](const navdb::WaypointPickRequest&) {
    return AskForWaypoint(context, db);
  };
  if (*form == planner::ForeignPlanForm::FlightShop) {
    planner::OpenPlanDialog(state, planner::PlanOpenMode::FlightShopImport);
    planner::ImportFlightShopWaypoints(state, db, ui);
  } else {
    planner::OpenPlanDialog(state, planner::PlanOpenMode::Fs200xImport);
    planner::ImportFs200xWaypoints(state, db);
  }
  if (options.Has("--name")) state.plan.planName = options.Get("--name");
  if (!planner::SaveFlightPlan(state, ui)) return kExitFailure;
  context.out << planner::PlanFilePath(state, state.plan.planName).string() << '\n';
  return kExitOk;
}

std::optional<PaperSize> PaperNamed(const std::string& name) {
  if (name == "a4") return PaperSize::A4;
  if (name == "letter") return PaperSize::Letter;
  return std::nullopt;
}

int PlanPrint(CliContext& context, const Options& options) {
  const bool toPdf = options.Has("--pdf");
  if (options.positional.size() != 1 || toPdf == options.Has("--text")) {
    return UsageError(context, kPlan,
                      "plan print takes one FILE and either --text or --pdf OUT.pdf");
  }
  const std::filesystem::path pdfPath = options.Get("--pdf");
  if (toPdf && pdfPath.empty()) return UsageError(context, kPlan, "--pdf needs a file name");
  const auto paper = PaperNamed(options.Has("--paper") ? options.Get("--paper") : "a4");
  if (!paper) return UsageError(context, kPlan, "--paper takes a4 or letter");
  if (!toPdf && options.Has("--paper"))
    return UsageError(context, kPlan, "--paper goes with --pdf");
  const navdb::UiCallbacks ui = MakeCliUi(context, AnswersFor(options));
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (!planner::LoadFlightPlan(state, options.positional[0], ui)) return kExitFailure;
  const std::vector<planner::PrintPage> pages = planner::LayoutPrintout(state);
  if (!toPdf) {
    context.out << platform::Win1252ToUtf8(planner::PrintoutText(pages));
    return kExitOk;
  }
  if (const std::string error = WritePrintoutPdf(pdfPath, pages, *paper); !error.empty()) {
    context.err << "skat-cli: cannot write " << pdfPath.string() << ": " << error << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

int RunPlan(CliContext& context, const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    PrintUsage(context.out, kPlan);
    return kExitOk;
  }
  if (args.empty()) return UsageError(context, kPlan, "missing subcommand");
  Options options;
  std::string problem;
  if (!ParseOptions(args, 1, options, problem)) return UsageError(context, kPlan, problem);
  // The commands that look navaids up read the database under its shared lock.
  std::optional<navdb::DatabaseLock> lock;
  const bool readsDatabase = args[0] == "create" || args[0] == "compute" || args[0] == "import";
  if (readsDatabase && !LockDatabase(context, DatabaseUse::ReadsIfPresent, lock)) {
    return kExitFailure;
  }
  if (args[0] == "create") return PlanCreate(context, options);
  if (args[0] == "compute") return PlanCompute(context, options);
  if (args[0] == "import") return PlanImport(context, options);
  if (args[0] == "print") return PlanPrint(context, options);
  return UsageError(context, kPlan, "unknown subcommand '" + args[0] + "'");
}

int RunPerf(CliContext& context, const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    PrintUsage(context.out, kPerf);
    return kExitOk;
  }
  Options options;
  std::string problem;
  if (args.empty() || !ParseOptions(args, 1, options, problem) || options.positional.size() != 1) {
    return UsageError(context, kPerf, problem.empty() ? "expected save|show AIRCRAFT" : problem);
  }
  const navdb::UiCallbacks ui = MakeCliUi(context, AnswersFor(options));
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  state.plan.performance.aircraftName = options.positional[0];
  if (args[0] == "save") {
    if (!ReadPerformanceOptions(options, state.plan.performance, problem)) {
      return UsageError(context, kPerf, problem);
    }
    return planner::SavePerformanceFile(state, ui) ? kExitOk : kExitFailure;
  }
  if (args[0] == "show") {
    const auto path = planner::PerformanceFilePath(state, options.positional[0]);
    planner::AircraftPerformance loaded;
    state.plan.performance = loaded;
    if (!planner::LoadPerformanceFile(state, path, ui)) return kExitFailure;
    std::string text;
    planner::WritePerformanceKeys(text, state.plan.performance);
    std::erase(text, '\r');
    context.out << platform::Win1252ToUtf8(text);
    return kExitOk;
  }
  return UsageError(context, kPerf, "unknown subcommand '" + args[0] + "'");
}

}  // namespace

std::vector<CliCommand> PlanCommands() {
  return {kPlan, kPerf};
}

}  // namespace cli
