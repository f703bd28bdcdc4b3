// skat-cli plan edit: the Flight Plan dialog's operations on an existing
// plan file, applied in the order given.
#pragma once

#include "shell/cli/commands.h"
#include "shell/cli/options.h"

namespace cli {

// Applies every editing option of `options` to the plan named by its one
// positional argument; usage problems of `command` give exit 2 and leave
// the file as it was.
int PlanEdit(CliContext& context, const Options& options, const CliCommand& command);

}  // namespace cli
