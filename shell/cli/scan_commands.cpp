#include <charconv>
#include <filesystem>
#include <istream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>

#include "navdb/database.h"
#include "platform/file_io.h"
#include "platform/win1252.h"
#include "scanner/merge.h"
#include "scanner/navdata_import.h"
#include "scanner/packed_file.h"
#include "scanner/scan_driver.h"
#include "shell/cli/cli_ui.h"
#include "shell/cli/commands.h"
#include "shell/cli/hand_edits.h"
#include "shell/cli/options.h"
#include "shell/core/journal_replay.h"
#include "xplane/navdata_reader.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

int RunScan(CliContext& context, const std::vector<std::string>& args);
int RunUnpack(CliContext& context, const std::vector<std::string>& args);
int RunImportNavData(CliContext& context, const std::vector<std::string>& args);

const CliCommand kScan{
    "scan", "scan a scenery folder tree into the database",
    "scan ROOT [--rebuild] [--duplicates=POLICY] [--min-runway-length=FEET]\n"
    "          [--stop-on-error] [--journal=REPLAY]\n\n"
    "Scans every scenery file (*.bgl) below ROOT, files before subfolders, and\n"
    "merges its NDBs, VOR/ILS/DME stations and runways into the database; then\n"
    "rebuilds the index and saves when anything changed, and prints the summary.\n"
    "--rebuild first empties the NDB, VOR and airport lists (intersections stay).\n"
    "POLICY is ask, keep-existing, keep-both, keep-new or abort: what becomes of\n"
    "an entry already in the list in another version (ask is the default on a\n"
    "terminal, keep-both otherwise). Runways shorter than FEET (default 3000) end\n"
    "their airport. A file or folder that cannot be read is passed over unless\n"
    "--stop-on-error. A navaid whose line would not have its layout (a position\n"
    "out of range, a value too wide for its column) is set aside with its reason\n"
    "in the kind's .rejected file. Exits 1 when the scan stopped, the database\n"
    "could not be saved, or entries were refused (a full list, or set aside);\n"
    "a refusal does not stop the scan.\n"
    "After --rebuild the hand edits of edits.journal are applied again (see\n"
    "'journal'); REPLAY is apply, skip or ask, as for 'restore'.\n",
    RunScan};
const CliCommand kUnpack{"unpack", "write the unpacked image of a packed scenery file",
                         "unpack FILE OUT\n\n"
                         "Unpacks the packed scenery file FILE and writes its image to OUT.\n"
                         "On failure prints the status code and its meaning and exits 1.\n"
                         "OUT must be another file than FILE (not even a link to it): that is\n"
                         "refused with exit 1, and FILE is left as it was.\n",
                         RunUnpack};
const CliCommand kImportNavData{
    "import-navdata", "merge X-Plane nav.dat, apt.dat and fix.dat into the database",
    "import-navdata DIR [--duplicates=POLICY]\n\n"
    "Merges nav.dat, apt.dat and fix.dat (each plain or .gz) from DIR into the\n"
    "database as a scan would: NDBs, VOR/ILS/DME stations, land runways, and\n"
    "fixes as intersections. Then rebuilds the index, saves and prints the\n"
    "summary. POLICY as for 'scan'. A row with a value that is not a finite\n"
    "number or is out of range, control bytes in a text, or too few fields is\n"
    "refused, and so is a record whose line would not have its layout: both are\n"
    "set aside with their reasons in the kind's .rejected file. Rows past what\n"
    "a list can hold (100,000 entries) are passed over and counted. A damaged\n"
    "or truncated .gz fails with zlib's reason and nothing is saved. Exits 1\n"
    "when anything was refused or passed over, after importing the rest.\n",
    RunImportNavData};

enum class DuplicatePolicy { Ask, KeepExisting, KeepBoth, KeepNew, Abort };

std::optional<DuplicatePolicy> PolicyFromName(std::string_view name) {
  if (name == "ask") return DuplicatePolicy::Ask;
  if (name == "keep-existing") return DuplicatePolicy::KeepExisting;
  if (name == "keep-both") return DuplicatePolicy::KeepBoth;
  if (name == "keep-new") return DuplicatePolicy::KeepNew;
  if (name == "abort") return DuplicatePolicy::Abort;
  return std::nullopt;
}

scanner::DuplicateOutcome OutcomeOf(DuplicatePolicy policy) {
  switch (policy) {
    case DuplicatePolicy::KeepExisting:
      return scanner::DuplicateOutcome::KeepExisting;
    case DuplicatePolicy::KeepNew:
      return scanner::DuplicateOutcome::KeepNew;
    case DuplicatePolicy::Abort:
      return scanner::DuplicateOutcome::AbortScan;
    case DuplicatePolicy::Ask:
    case DuplicatePolicy::KeepBoth:
      break;
  }
  return scanner::DuplicateOutcome::KeepBoth;
}

struct MergeOptions {
  std::vector<std::string> positional;
  std::optional<DuplicatePolicy> policy;
  bool rebuild = false;
  std::optional<JournalPolicy> journal;
  bool stopOnError = false;
  unsigned minRunwayLengthFt = scanner::kDefaultMinRunwayLengthFt;
};

// The options of scan; import-navdata takes only --duplicates.
const OptionRules kScanOptions{
    .flags = {"--rebuild", "--stop-on-error"},
    .joinedValueOptions = {"--duplicates", "--min-runway-length", "--journal"}};
const OptionRules kImportOptions{.joinedValueOptions = {"--duplicates"}};

// Parses the options of scan and import-navdata.
platform::Status ParseMergeOptions(const std::vector<std::string>& args, const OptionRules& rules,
                                   MergeOptions& options) {
  const platform::Result<Options> parsed = ParseOptions(args, 0, rules);
  if (!parsed) return parsed.error();
  options.positional = parsed->positional;
  options.rebuild = parsed->Has("--rebuild");
  options.stopOnError = parsed->Has("--stop-on-error");
  for (const ParsedOption& given : parsed->given) {
    const std::string& value = given.value;
    if (given.key == "--duplicates") {
      options.policy = PolicyFromName(value);
      if (!options.policy) return platform::Failure("unknown duplicate policy '" + value + "'");
    } else if (given.key == "--journal") {
      options.journal = JournalPolicyFromName(value);
      if (!options.journal) return platform::Failure("unknown journal policy '" + value + "'");
    } else if (given.key == "--min-runway-length") {
      const auto [end, error] =
          std::from_chars(value.data(), value.data() + value.size(), options.minRunwayLengthFt);
      if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
        return platform::Failure("bad runway length '" + value + "'");
      }
    }
  }
  return {};
}

// Line of the double-entry choice menu.
constexpr std::string_view kDuplicateMenu =
    "  1  Keep only the existing entry\n"
    "  2  Keep both\n"
    "  3  Keep only the new entry\n"
    "  4  Keep always the existing entry (for the rest of the scan)\n"
    "  5  Keep always both\n"
    "  6  Keep always the new entry\n"
    "  a  Abort scanning\n";

scanner::DuplicateAnswer AskDuplicate(CliContext& context,
                                      const scanner::DuplicateRequest& request) {
  context.err << "Double entry warning !\n"
              << scanner::DuplicateExistingLabel(request.kind) << '\n'
              << platform::Win1252ToUtf8(request.existingLine) << '\n'
              << "and this one, with same ID & Name, is going to be added :\n"
              << platform::Win1252ToUtf8(request.newLine) << '\n'
              << scanner::kDuplicateChooseText << '\n'
              << kDuplicateMenu;
  static constexpr scanner::DuplicateOutcome kOutcomes[] = {scanner::DuplicateOutcome::KeepExisting,
                                                            scanner::DuplicateOutcome::KeepBoth,
                                                            scanner::DuplicateOutcome::KeepNew};
  while (true) {
    context.err << "Choice [1-6, a]: " << std::flush;
    std::string reply;
    // End of input is Escape: "Abort scanning"; what was merged stays.
    if (!std::getline(context.in, reply)) return {scanner::DuplicateOutcome::AbortScan, false};
    if (reply == "a" || reply == "A") return {scanner::DuplicateOutcome::AbortScan, false};
    if (reply.size() == 1 && reply[0] >= '1' && reply[0] <= '6') {
      const int choice = reply[0] - '1';
      return {kOutcomes[choice % 3], choice >= 3};
    }
  }
}

CliAnswers ScanAnswers(const MergeOptions& options) {
  CliAnswers answers;
  answers.yesNo = options.stopOnError ? navdb::MessageAnswer::No : navdb::MessageAnswer::Yes;
  answers.printStatus = false;
  return answers;
}

// The scan's face on the terminal: status texts when they change and one
// line per folder on standard output, the summary too; error boxes on
// standard error, answered by the options.
class ScanUi : public CliUi {
 public:
  ScanUi(CliContext& context, const MergeOptions& options)
      : CliUi(context, ScanAnswers(options)),
        policy_(options.policy.value_or(context.inputIsTerminal ? DuplicatePolicy::Ask
                                                                : DuplicatePolicy::KeepBoth)) {}

  navdb::MessageAnswer Message(const navdb::MessageRequest& request) const override {
    if (request.icon != navdb::MessageIcon::Information) return CliUi::Message(request);
    context_.out << TerminalText(request.text) << std::flush;
    return navdb::MessageAnswer::Ok;
  }
  void Status(navdb::StatusIcon, const std::string& text) const override {
    std::lock_guard guard(statusMutex_);
    if (text == lastStatus_) return;
    lastStatus_ = text;
    context_.out << TerminalText(text) << '\n' << std::flush;
  }
  void ScanPosition(const std::string& path) const override {
    std::error_code error;
    if (fs::is_directory(path, error)) context_.out << "Folder " << path << '\n' << std::flush;
  }
  scanner::DuplicateAnswer ChooseDuplicate(
      const scanner::DuplicateRequest& request) const override {
    if (policy_ == DuplicatePolicy::Ask) return AskDuplicate(context_, request);
    return {OutcomeOf(policy_), false};
  }

 private:
  DuplicatePolicy policy_;
  mutable std::mutex statusMutex_;
  mutable std::string lastStatus_;
};

// Loads the database of --navdata under the exclusive lock, which `lock`
// keeps until the merge has been saved; creates the folder so that it can be
// saved.
bool LoadForMerge(CliContext& context, const navdb::Reporter& ui, navdb::Database& db,
                  std::optional<navdb::DatabaseLock>& lock) {
  if (!LockDatabase(context, DatabaseUse::Creates, lock)) return false;
  db.folder = context.navData;
  navdb::LoadDatabase(db, ui);
  return true;
}

int RunScan(CliContext& context, const std::vector<std::string>& args) {
  MergeOptions options;
  if (const platform::Status parsed = ParseMergeOptions(args, kScanOptions, options); !parsed) {
    return UsageError(context, kScan, parsed.error().message);
  }
  if (options.positional.size() != 1) return UsageError(context, kScan, "expected ROOT");
  const fs::path root = options.positional.front();
  const ScanUi scanUi(context, options);
  if (root.empty()) {
    navdb::ShowMessage(scanUi, "Error", "Please, select first a path for scenery scanning.",
                       navdb::MessageIcon::Error, navdb::MessageButtons::Ok);
    return kExitFailure;
  }
  std::error_code error;
  if (!fs::is_directory(root, error)) {
    context.err << "skat-cli scan: " << root.string() << " is not a folder\n";
    return kExitFailure;
  }
  navdb::Database db;
  std::optional<navdb::DatabaseLock> lock;
  if (!LoadForMerge(context, scanUi, db, lock)) return kExitFailure;
  scanner::ScanSession session{db, scanUi};
  session.minRunwayLengthFt = options.minRunwayLengthFt;
  session.stopOnUnreadableFolder = options.stopOnError;
  if (options.rebuild) {
    // --rebuild is the user's Yes to the warning, which is still shown.
    CliAnswers yes = ScanAnswers(options);
    yes.yesNo = navdb::MessageAnswer::Yes;
    const CliUi confirmUi(context, yes);
    scanner::ScanSession confirmSession{db, confirmUi};
    scanner::ConfirmAndClearForRebuild(confirmSession, shell::HandEditsToReplay(db));
  }
  const scanner::ScanResult result = scanner::ScanSceneryThread(session, root);
  if (result.refusedEntries > 0 && !result.saveFailed) {
    context.err << "skat-cli scan: " << result.refusedEntries << " entries refused\n";
  }
  bool journalComplete = true;
  if (options.rebuild && !result.stopped && !result.saveFailed) {
    // The rebuilt lists lack the hand edits: they are applied and saved.
    const HandEditOutcome replayed =
        ReplayHandEdits(context, db, ChosenPolicy(context, options.journal), scanUi);
    journalComplete = replayed.Complete() && SaveReplayed(db, replayed, scanUi);
  }
  return result.stopped || result.saveFailed || result.refusedEntries > 0 || !journalComplete
             ? kExitFailure
             : kExitOk;
}

int RunUnpack(CliContext& context, const std::vector<std::string>& args) {
  const platform::Result<Options> parsed = ParseOptions(args, 0, {});
  if (!parsed) return UsageError(context, kUnpack, parsed.error().message);
  const std::vector<std::string>& files = parsed->positional;
  if (files.size() != 2) return UsageError(context, kUnpack, "expected FILE and OUT");
  // The packed file may be the only copy of its scenery: OUT is refused when
  // it is that file under any spelling or link (the same device and inode).
  std::error_code sameError;
  if (fs::equivalent(files[0], files[1], sameError)) {
    context.err << "skat-cli unpack: " << files[1] << " is the packed file itself\n";
    return kExitFailure;
  }
  scanner::UnpackedImage image;
  const scanner::UnpackStatus status = scanner::UnpackBglFile(files[0], &image);
  if (status != scanner::UnpackStatus::Ok) {
    context.err << "skat-cli unpack: " << files[0] << ": status " << static_cast<int>(status)
                << ": " << scanner::UnpackStatusText(status) << '\n';
    return kExitFailure;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(image.bytes.get()), image.size);
  const platform::Status written = platform::ReplaceFileAtomically(files[1], bytes);
  const size_t sizeBytes = image.size;
  scanner::ReleaseUnpackedImage(image);
  if (!written.ok()) {
    context.err << "skat-cli unpack: cannot write " << files[1] << ": " << written.error().message
                << '\n';
    return kExitFailure;
  }
  context.out << files[1] << ": " << sizeBytes << " bytes\n";
  return kExitOk;
}

// What the reader refused or passed over, told before the merge.
void ReportReadRefusals(CliContext& context, const xplane::NavData& data) {
  if (data.refusedRows > 0) {
    const xplane::RefusedRow& first = data.refused.front();
    context.err << "skat-cli import-navdata: " << data.refusedRows
                << " rows refused (the first: " << first.source << ": " << first.reason << "). ";
    if (data.refusedRows > data.refused.size()) {
      context.err << "The first " << data.refused.size() << " are";
    } else {
      context.err << "They are";
    }
    context.err << " kept in the .rejected files.\n";
  }
  static constexpr std::string_view kListRows[] = {"NDB", "VOR/ILS/DME", "runway", "fix"};
  for (size_t list = 0; list < data.passedOver.size(); ++list) {
    if (data.passedOver[list] == 0) continue;
    context.err << "skat-cli import-navdata: " << data.passedOver[list] << ' ' << kListRows[list]
                << " rows passed over: their list would be full. " << navdb::kListLimitText << '\n';
  }
}

int RunImportNavData(CliContext& context, const std::vector<std::string>& args) {
  MergeOptions options;
  if (const platform::Status parsed = ParseMergeOptions(args, kImportOptions, options); !parsed) {
    return UsageError(context, kImportNavData, parsed.error().message);
  }
  if (options.positional.size() != 1) return UsageError(context, kImportNavData, "expected DIR");
  xplane::NavData data;
  const platform::Status readError = xplane::ReadNavDataFolder(options.positional.front(), data);
  if (!readError) {
    context.err << "skat-cli import-navdata: " << readError.error().message << '\n';
    return kExitFailure;
  }
  ReportReadRefusals(context, data);
  const ScanUi scanUi(context, options);
  navdb::Database db;
  std::optional<navdb::DatabaseLock> lock;
  if (!LoadForMerge(context, scanUi, db, lock)) return kExitFailure;
  const long before[] = {static_cast<long>(db.List(navdb::NavaidKind::Ndb).EntryCount()),
                         static_cast<long>(db.List(navdb::NavaidKind::Vor).EntryCount()),
                         static_cast<long>(db.List(navdb::NavaidKind::Airport).EntryCount()),
                         static_cast<long>(db.List(navdb::NavaidKind::Intersection).EntryCount())};
  scanner::ScanSession session{db, scanUi};
  const scanner::ImportResult result = scanner::MergeNavData(session, data);
  navdb::RebuildIndex(db.lists, db.index, scanUi);
  const bool saved = navdb::SaveDatabase(db, scanUi);
  navdb::AddPlaceholdersToEmptyLists(db);
  if (!saved) return kExitFailure;
  const auto added = [&](navdb::NavaidKind kind) {
    return static_cast<long>(db.List(kind).EntryCount()) - before[navdb::IndexOf(kind)];
  };
  context.out << TerminalText(scanner::ScanSummaryText(added(navdb::NavaidKind::Ndb),
                                                       added(navdb::NavaidKind::Vor),
                                                       added(navdb::NavaidKind::Airport)))
              << added(navdb::NavaidKind::Intersection) << "\tIntersections.\n";
  if (result.malformedLines > 0) {
    context.err << "skat-cli import-navdata: " << result.malformedLines
                << " entries refused: their lines would not have their layout (the first: "
                << TerminalText(result.firstMalformed)
                << "). They are kept in the .rejected files.\n";
  }
  if (result.aborted) context.err << "skat-cli import-navdata: import stopped\n";
  const bool refused = data.refusedRows > 0 || data.PassedOverRows() > 0 ||
                       result.refusedEntries > 0 || result.malformedLines > 0;
  return result.aborted || refused ? kExitFailure : kExitOk;
}

}  // namespace

std::vector<CliCommand> ScanCommands() {
  return {kScan, kUnpack, kImportNavData};
}

}  // namespace cli
