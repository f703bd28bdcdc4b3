// The FIELD=VALUE arguments of "skat-cli entry": each field is one box of
// the kind's editor (or the boxes that make one value: a frequency's whole
// and decimal part, a coordinate's hemisphere and four boxes), filled as
// the editor fills it, so that the editors' checks and line building apply.
#pragma once

#include <string>
#include <vector>

#include "navdb/navaid_kind.h"
#include "platform/result.h"
#include "shell/core/entry_editor.h"

namespace cli {

// The --help lines that list the fields of every kind.
std::string EntryFieldsHelp();

// Fails, saying which, unless every argument is FIELD=VALUE with a field of
// `kind`, each field once.
platform::Status CheckFieldNames(navdb::NavaidKind kind,
                                 const std::vector<std::string>& assignments);

// Types each value (UTF-8) into its boxes of `session` as the editor would,
// then leaves the boxes whose leaving the editor checks (runway, heading,
// magnetic variation). Refuses, saying why, a value a box
// would not take whole: a character it refuses, one too many, a coordinate
// off the globe, a number the box's check turns back. `session` may then be
// half filled: the caller changes nothing.
platform::Status ApplyFields(navdb::NavaidKind kind, shell::EditorSession& session,
                             const std::vector<std::string>& assignments);

// The entry's values as FIELD=VALUE words (UTF-8, quoted for a shell where
// needed), which "entry modify" takes back.
std::string FieldsText(navdb::NavaidKind kind, const shell::EditorFields& fields);

}  // namespace cli
