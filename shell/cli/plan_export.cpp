#include "shell/cli/plan_export.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "planner/plan_export.h"
#include "planner/plan_file.h"
#include "shell/cli/plan_options.h"

namespace cli {

int PlanExport(CliContext& context, const Options& options, const CliCommand& command) {
  if (options.positional.size() != 2) {
    return UsageError(context, command, "plan export takes FILE.pln and OUT");
  }
  for (const ParsedOption& option : options.given) {
    if (option.key != "--format" && option.key != "--yes") {
      return UsageError(context, command, "plan export does not take " + option.key);
    }
  }
  if (!options.Has("--format")) {
    return UsageError(context, command, "plan export needs --format fgfs|fms|gpx");
  }
  const auto format = planner::ExportFormatNamed(options.Get("--format"));
  if (!format) {
    return UsageError(context, command,
                      "unknown format '" + options.Get("--format") + "' (fgfs, fms or gpx)");
  }
  const std::filesystem::path file = options.positional[0];
  const std::filesystem::path out = options.positional[1];
  const CliUi ui = PlanUi(context, options);
  planner::PlannerState state;
  state.navDataFolder = context.navData;
  if (!planner::LoadFlightPlan(state, file, ui)) return kExitFailure;

  // The plan itself is never a target, not even with --yes: the export
  // would replace the only copy of the route with a file skat cannot read.
  std::error_code error;
  if (std::filesystem::equivalent(file, out, error)) {
    context.err << "skat-cli: " << out.string() << " is the plan itself\n";
    return kExitFailure;
  }
  if (std::filesystem::exists(std::filesystem::symlink_status(out, error)) &&
      !options.Has("--yes")) {
    context.err << "skat-cli: " << out.string() << " already exists (--yes replaces it)\n";
    return kExitFailure;
  }
  if (const platform::Status exported = planner::ExportPlanFile(state, *format, out); !exported) {
    context.err << "skat-cli: " << exported.error().message << '\n';
    return kExitFailure;
  }
  context.out << out.string() << '\n';
  return kExitOk;
}

}  // namespace cli
