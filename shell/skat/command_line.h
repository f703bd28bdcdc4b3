// What skat answers on its command line without opening a window: --help
// and --version, which need neither a display nor the database (man pages
// are made from them at build time).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// When `arguments` (without the program name) ask for help ("--help", "-h")
// or the version ("--version"), writes the answer to `out` and returns the
// exit code; nothing when the program should start.
std::optional<int> AnswerHelpOrVersion(const std::vector<std::string>& arguments,
                                       std::ostream& out);
