#include <algorithm>
#include <filesystem>
#include <istream>
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
#include "shell/cli/options.h"
#include "shell/cli/plan_edit.h"
#include "shell/cli/plan_export.h"
#include "shell/cli/plan_options.h"
#include "shell/cli/printout_pdf.h"

namespace cli {
namespace {

using navdb::NavaidKind;

int RunPlan(CliContext& context, const std::vector<std::string>& args);
int RunPerf(CliContext& context, const std::vector<std::string>& args);

const CliCommand kPlan{
    "plan", "create, edit, recompute, import, print or export ND flight plans",
    "plan create NAME --departure ICAO[/RUNWAY] --arrival ICAO[/RUNWAY] [--via KIND:ID ...]\n"
    "            [--perf AIRCRAFT | --climb-rate N --climb-speed N --descent-rate N\n"
    "             --descent-speed N --cruise-altitude N --cruise-speed TEXT]\n"
    "            [--sid-star D,R | --no-sid-star] [--yes]\n"
    "       plan edit FILE.pln [--insert POS KIND:ID] [--replace POS KIND:ID] [--remove POS]\n"
    "            [--move POS up|down] [--departure ICAO[/RUNWAY]] [--arrival ICAO[/RUNWAY]]\n"
    "            [--perf AIRCRAFT | performance options] [--sid-star D,R | --no-sid-star]\n"
    "            [--name NAME] [--yes]\n"
    "       plan compute FILE.pln [--out OUT.pln]\n"
    "       plan import FILE.fsp|FILE.pln [--name NAME] [--missing=ask|skip] [--yes]\n"
    "       plan print FILE.pln (--text | --pdf OUT.pdf [--paper a4|letter])\n"
    "       plan export FILE.pln --format fgfs|fms|gpx OUT [--yes]\n\n"
    "Plans and performance files live in FlightPlans under the NavData folder.\n"
    "create builds the route as the Flight Plan dialog does (first database line\n"
    "of each identifier; KIND is ndb, vor, apt or int; RUNWAY selects the runway\n"
    "entry that begins with it), computes the legs and saves FlightPlans/NAME.pln.\n"
    "edit applies its options in the order given, as the dialog's buttons do\n"
    "(POS is a row of the list counted from 0, or 'end' for --insert), recomputes\n"
    "and writes the plan back, or with --name saves FlightPlans/NAME.pln; a bad\n"
    "position or an unknown navaid or runway changes nothing (exit 2).\n"
    "compute reloads a plan, recomputes it and writes it back (or to OUT.pln).\n"
    "import reads a Flight Shop or FS200X plan; a Flight Shop waypoint missing\n"
    "from the database is asked for on the terminal (KIND:ID, empty to skip) or\n"
    "skipped. print writes the printout pages, separated by form feeds, or with\n"
    "--pdf a PDF document in Liberation Mono, one page per printout page, on A4\n"
    "paper unless --paper letter is given. export writes the plan as it is stored\n"
    "for another simulator: fgfs a FlightGear route (Route Manager, Load), fms an\n"
    "X-Plane 11 FMS plan (Output/FMS plans), gpx a GPX 1.1 route; generated points\n"
    "(TOC, TOD, runway turns) go as plain positions. OUT is replaced only with --yes.\n"
    "Questions (overwrite, sharp turn) are answered No unless --yes is given.\n\n"
    "Numbers must fit their columns: --cruise-altitude 0 to 99999 (ft), the rates\n"
    "0 to 99999 (ft/min), the speeds 0 to 9999 (kt), --cruise-speed knots or a Mach\n"
    "number in at most 4 characters (such as 0.82), --sid-star D and R each 0.1 to\n"
    "99.9 (NM), written as plain decimals. NAME (and AIRCRAFT of --perf) is a file\n"
    "name in FlightPlans, not a path: '/', '\\', '..' and control characters are\n"
    "refused. Either refusal is a usage error (exit 2) and writes nothing.\n"
    "A plan holds at most 256 rows, generated points included, as many as the\n"
    "navigation display shows: a longer plan file, a longer imported plan, or a\n"
    "change that grows a plan beyond that is refused (exit 1), and the file is left\n"
    "as it was; no row is ever dropped. A row not in the plan row layout is kept\n"
    "as it is, but the legs of a plan holding one are not computed: compute and edit\n"
    "name the row and exit 1 (edit --remove takes it out).\n",
    RunPlan};

const CliCommand kPerf{
    "perf", "save or show aircraft performance files",
    "perf save AIRCRAFT --climb-rate N --climb-speed N --descent-rate N --descent-speed N\n"
    "          --cruise-altitude N --cruise-speed TEXT [--yes]\n"
    "       perf show AIRCRAFT\n\n"
    "save writes FlightPlans/AIRCRAFT.perf (an existing file is replaced only with\n"
    "--yes); show prints its seven lines as they are read back. AIRCRAFT is a file\n"
    "name, not a path ('/', '\\', '..' and control characters are refused), and the\n"
    "numbers must fit their columns as for 'plan' (--cruise-altitude 0 to 99999,\n"
    "rates 0 to 99999, speeds 0 to 9999, --cruise-speed at most 4 characters);\n"
    "either refusal is exit 2.\n",
    RunPerf};

const OptionRules kPlanOptions{
    {"--yes", "--no-sid-star", "--text"},
    {"--departure", "--arrival", "--via", "--perf", "--climb-rate", "--climb-speed",
     "--descent-rate", "--descent-speed", "--cruise-altitude", "--cruise-speed", "--sid-star",
     "--out", "--name", "--missing", "--pdf", "--paper", "--remove",
     "--format"},  // --format: plan export
    {{"--insert", 1}, {"--replace", 1}, {"--move", 1}}};

const OptionRules kPerfOptions{{"--yes"},
                               {"--climb-rate", "--climb-speed", "--descent-rate",
                                "--descent-speed", "--cruise-altitude", "--cruise-speed"},
                               {}};

// The options each subcommand takes besides --yes; any other is refused
// rather than silently ignored.
platform::Status OnlyOptions(const Options& options,
                             std::initializer_list<std::string_view> allowed) {
  for (const ParsedOption& option : options.given) {
    if (option.key == "--yes" ||
        std::find(allowed.begin(), allowed.end(), option.key) != allowed.end()) {
      continue;
    }
    return platform::Failure("this subcommand does not take " + option.key);
  }
  return {};
}

// The airport of one end as the user picks it, with the runway checked once
// the runway lists are filled.
platform::Status AddEnd(planner::PlannerState& state, const navdb::Database& db,
                        const AirportChoice& choice, bool departure) {
  const auto pick = FindNavaid(db, NavaidKind::Airport, choice.icao);
  if (!pick) return platform::Failure("airport " + choice.icao + " is not in the database");
  planner::RunwayChoice& runway =
      departure ? state.dialog.departureRunway : state.dialog.arrivalRunway;
  runway.editText = choice.runway;
  planner::PlaceWaypoint(state, db, -1, *pick);
  return {};
}

platform::Status AddVias(planner::PlannerState& state, const navdb::Database& db,
                         const Options& options) {
  for (const std::string& via : options.All("--via")) {
    const platform::Result<planner::WaypointPick> pick = FindNamedNavaid(db, "--via", via);
    if (!pick) return pick.error();
    planner::InsertBeforeArrival(state, db, *pick);
  }
  return {};
}

// The airports, their runways and the vias of plan create, in that order.
platform::Status AddRoute(planner::PlannerState& state, const navdb::Database& db,
                          const Options& options) {
  const AirportChoice departure = SplitAirportChoice(options.Get("--departure"));
  const AirportChoice arrival = SplitAirportChoice(options.Get("--arrival"));
  if (platform::Status added = AddEnd(state, db, departure, true); !added) return added;
  if (platform::Status added = AddEnd(state, db, arrival, false); !added) return added;
  if (platform::Status runway = CheckRunway(state.dialog.departureRunway, departure); !runway) {
    return runway;
  }
  if (platform::Status runway = CheckRunway(state.dialog.arrivalRunway, arrival); !runway) {
    return runway;
  }
  return AddVias(state, db, options);
}

// The performance options and SID/STAR values of plan create.
platform::Status ReadCreateOptions(planner::PlannerState& state, const Options& options) {
  if (platform::Status read = ReadPerformanceOptions(options, state.plan.performance); !read) {
    return read;
  }
  if (platform::Status climb = CheckClimbHasCruiseAltitude(state.plan.performance); !climb) {
    return climb;
  }
  if (options.Has("--sid-star") && !options.Has("--no-sid-star")) {
    return ReadSidStar(options.Get("--sid-star"), state);
  }
  return {};
}

int PlanCreate(CliContext& context, const Options& options) {
  if (options.positional.size() != 1)
    return UsageError(context, kPlan, "plan create takes one NAME");
  if (!options.Has("--departure") || !options.Has("--arrival")) {
    return UsageError(context, kPlan, "plan create needs --departure and --arrival");
  }
  if (const platform::Status only = OnlyOptions(
          options, {"--departure", "--arrival", "--via", "--perf", "--climb-rate", "--climb-speed",
                    "--descent-rate", "--descent-speed", "--cruise-altitude", "--cruise-speed",
                    "--sid-star", "--no-sid-star"});
      !only) {
    return UsageError(context, kPlan, only.error().message);
  }
  const CliUi ui = PlanUi(context, options);
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (options.Has("--perf")) {
    const auto path = planner::PerformanceFilePath(state, options.Get("--perf"));
    if (!planner::LoadPerformanceFile(state, path, ui)) return kExitFailure;
  }
  if (const platform::Status read = ReadCreateOptions(state, options); !read) {
    return UsageError(context, kPlan, read.error().message);
  }
  const navdb::Database db = LoadedDatabase(context, ui);
  planner::OpenPlanDialog(state, planner::PlanOpenMode::New);
  state.plan.planName = options.positional[0];
  state.dialog.sidStarEnabled = !options.Has("--no-sid-star");
  if (const platform::Status route = AddRoute(state, db, options); !route) {
    return UsageError(context, kPlan, route.error().message);
  }
  // The runway lists were filled by the first computation; this one places
  // the airports at their runways' centres as the next change in the dialog would.
  planner::ComputeLegs(state, db.List(NavaidKind::Airport));
  if (!planner::SaveFlightPlan(state, ui)) return kExitFailure;
  context.out << planner::PlanFilePath(state, state.plan.planName).string() << '\n';
  return kExitOk;
}

int PlanCompute(CliContext& context, const Options& options) {
  if (options.positional.size() != 1)
    return UsageError(context, kPlan, "plan compute takes one FILE");
  if (const platform::Status only = OnlyOptions(options, {"--out"}); !only) {
    return UsageError(context, kPlan, only.error().message + "; plan edit changes a plan");
  }
  const CliUi ui = PlanUi(context, options);
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  const std::filesystem::path file = options.positional[0];
  if (!planner::LoadFlightPlan(state, file, ui)) return kExitFailure;
  const navdb::Database db = LoadedDatabase(context, ui);
  planner::RecomputeOpenedPlan(state, db.List(NavaidKind::Airport));
  if (!CheckLegsComputed(context, state)) return kExitFailure;
  if (state.rotationWarningRow != 0) {
    context.err << "skat-cli: the rotation angle at row " << state.rotationWarningRow
                << " is too high\n";
  }
  if (!planner::CheckPlanSize(state, ui)) return kExitFailure;
  const std::filesystem::path out =
      options.Has("--out") ? std::filesystem::path(options.Get("--out")) : file;
  if (!platform::ReplaceFileAtomically(out, planner::EncodePlanFile(state)).ok()) {
    context.err << "skat-cli: cannot write " << out.string() << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

// Terminal picks for Flight Shop waypoints missing from the database.
std::optional<planner::WaypointPick> AskForWaypoint(CliContext& context,
                                                    const navdb::Database& db) {
  while (true) {
    context.err << "Waypoint (KIND:ID, empty to skip): " << std::flush;
    std::string answer;
    if (!std::getline(context.in, answer) || answer.empty()) return std::nullopt;
    if (const platform::Result<planner::WaypointPick> pick = FindNamedNavaid(db, "", answer)) {
      return *pick;
    }
    context.err << "skat-cli: no such navaid\n";
  }
}

// The import's front end: a waypoint missing from the database is skipped
// (--missing skip) or picked on the terminal.
class ImportUi : public CliUi {
 public:
  using CliUi::CliUi;
  bool skipMissing = false;
  const navdb::Database* database = nullptr;  // where picks are looked up, once loaded

  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override {
    const navdb::MessageAnswer answer = CliUi::Message(request);
    if (request.buttons == navdb::MessageButtons::OkCancel && skipMissing)
      return navdb::MessageAnswer::Cancel;
    return answer;
  }
  std::optional<planner::WaypointPick> PickWaypoint(
      const planner::WaypointPickRequest&) const override {
    if (!database) return std::nullopt;
    return AskForWaypoint(context_, *database);
  }
};

int PlanImport(CliContext& context, const Options& options) {
  if (options.positional.size() != 1)
    return UsageError(context, kPlan, "plan import takes one FILE");
  if (const platform::Status only = OnlyOptions(options, {"--name", "--missing"}); !only) {
    return UsageError(context, kPlan, only.error().message);
  }
  const std::string missing = options.Has("--missing") ? options.Get("--missing") : "ask";
  if (missing != "ask" && missing != "skip") {
    return UsageError(context, kPlan, "--missing takes ask or skip");
  }
  ImportUi ui(context, PlanAnswers(options));
  const std::filesystem::path file = options.positional[0];
  const auto form = planner::ForeignFormOf(file);
  if (!form) return UsageError(context, kPlan, "plan import reads .fsp or .pln files");
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (!planner::ParseForeignPlanFile(state, file, *form, ui)) return kExitFailure;
  const navdb::Database db = LoadedDatabase(context, ui);
  ui.skipMissing = missing == "skip";
  ui.database = &db;
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
  if (const platform::Status only = OnlyOptions(options, {"--text", "--pdf", "--paper"}); !only) {
    return UsageError(context, kPlan, only.error().message);
  }
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
  const CliUi ui = PlanUi(context, options);
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (!planner::LoadFlightPlan(state, options.positional[0], ui)) return kExitFailure;
  const std::vector<planner::PrintPage> pages = planner::LayoutPrintout(state);
  if (!toPdf) {
    context.out << platform::Win1252ToUtf8(planner::PrintoutText(pages));
    return kExitOk;
  }
  if (const platform::Status written = WritePrintoutPdf(pdfPath, pages, *paper); !written) {
    context.err << "skat-cli: cannot write " << pdfPath.string() << ": " << written.error().message
                << '\n';
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
  const platform::Result<Options> parsed = ParseOptions(args, 1, kPlanOptions);
  if (!parsed) return UsageError(context, kPlan, parsed.error().message);
  const Options& options = *parsed;
  if (const platform::Status names = CheckNameOptions(options); !names) {
    return UsageError(context, kPlan, names.error().message);
  }
  if (args[0] == "create" && !options.positional.empty()) {
    const platform::Status name = planner::CheckFileName("flight plan", options.positional[0]);
    if (!name) return UsageError(context, kPlan, name.error().message);
  }
  // The commands that look navaids up read the database under its shared lock.
  std::optional<navdb::DatabaseLock> lock;
  const bool readsDatabase =
      args[0] == "create" || args[0] == "compute" || args[0] == "import" || args[0] == "edit";
  if (readsDatabase && !LockDatabase(context, DatabaseUse::ReadsIfPresent, lock)) {
    return kExitFailure;
  }
  if (args[0] == "create") return PlanCreate(context, options);
  if (args[0] == "compute") return PlanCompute(context, options);
  if (args[0] == "import") return PlanImport(context, options);
  if (args[0] == "edit") return PlanEdit(context, options, kPlan);
  if (args[0] == "print") return PlanPrint(context, options);
  if (args[0] == "export") return PlanExport(context, options, kPlan);
  return UsageError(context, kPlan, "unknown subcommand '" + args[0] + "'");
}

int RunPerf(CliContext& context, const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    PrintUsage(context.out, kPerf);
    return kExitOk;
  }
  if (args.empty()) return UsageError(context, kPerf, "expected save|show AIRCRAFT");
  const platform::Result<Options> parsed = ParseOptions(args, 1, kPerfOptions);
  if (!parsed) return UsageError(context, kPerf, parsed.error().message);
  if (parsed->positional.size() != 1) {
    return UsageError(context, kPerf, "expected save|show AIRCRAFT");
  }
  const Options& options = *parsed;
  if (const platform::Status name = planner::CheckFileName("aircraft", options.positional[0]);
      !name) {
    return UsageError(context, kPerf, name.error().message);
  }
  const CliUi ui = PlanUi(context, options);
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  state.plan.performance.aircraftName = options.positional[0];
  if (args[0] == "save") {
    platform::Status read = ReadPerformanceOptions(options, state.plan.performance);
    if (read) read = CheckClimbHasCruiseAltitude(state.plan.performance);
    if (!read) return UsageError(context, kPerf, read.error().message);
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
