// skat-cli plan export: a plan file written for another simulator.
#pragma once

#include "shell/cli/commands.h"
#include "shell/cli/options.h"

namespace cli {

// Exports the plan named by the first positional argument of `options` to
// the second in the format of --format; usage problems of `command` give
// exit 2, a plan that cannot be read or a file that cannot be written exit 1.
int PlanExport(CliContext& context, const Options& options, const CliCommand& command);

}  // namespace cli
