// The man pages made at build time from the programs' --help: man renders
// each without a warning (the check lintian makes), with its sections in
// order, the installed paths and no path of the build; skat-cli's holds a
// subsection for every command the program lists.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/packaging/command_runner.h"

namespace {

using packaging_test::CommandRun;
using packaging_test::FileBytes;
using packaging_test::Quoted;
using packaging_test::RunCommand;

std::string PagePath(const std::string& program) {
  return std::string(SKAT_GENERATED_DIR) + "/man/" + program + ".1";
}

// The page as man shows it in plain ASCII, 100 columns wide, without
// hyphenation.
std::string Rendered(const std::string& page) {
  const CommandRun run = RunCommand("LC_ALL=C MANWIDTH=100 " + std::string(MAN_PATH) +
                                    " --nh --nj -l " + Quoted(page));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return run.out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The section headings in the page's order: the lines that begin at the
// left edge, less the header and the footer (which name the page, "(1)").
std::vector<std::string> SectionHeadings(const std::string& rendered) {
  std::vector<std::string> headings;
  for (const std::string& line : Lines(rendered)) {
    if (!line.empty() && line[0] != ' ' && line.find("(1)") == std::string::npos) {
      headings.push_back(line);
    }
  }
  return headings;
}

TEST(ManPages, RenderWithoutWarningsAndWithTheirSectionsInOrder) {
  struct Page {
    std::string program;
    std::vector<std::string> headings;
    std::vector<std::string> texts;  // found somewhere in the page
  };
  const std::string data = FULL_DATADIR;
  const Page kPages[] = {
      {"skat",
       {"NAME", "SYNOPSIS", "DESCRIPTION", "DATABASE LOCK", "ENVIRONMENT", "FILES", "EXAMPLES",
        "SEE ALSO"},
       {"skat - view and edit the navaid database", "skat [SIMULATOR_FOLDER]",
        "skat --help | --version", "SKAT_SCREENSHOTS", data + "/demo/", "skat-cli(1), ndhost(1)"}},
      {"skat-cli",
       {"NAME", "SYNOPSIS", "DESCRIPTION", "COMMANDS", "EXIT STATUS", "DATABASE LOCK",
        "ENVIRONMENT", "FILES", "EXAMPLES", "SEE ALSO"},
       {"skat-cli [--navdata DIR] [--verbose] COMMAND [ARGS...]", "skat-cli --help | --version",
        "Error: The database is in use by skat (process 4242). Try again when it has finished.",
        "NavData/skat.lock", data + "/demo/NavData/", data + "/demo/Scenery",
        "skat(1), ndhost(1)"}},
      {"ndhost",
       {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FLIGHTGEAR", "EXIT STATUS", "ENVIRONMENT",
        "FILES", "EXAMPLES", "SEE ALSO"},
       {"ndhost --sim-root DIR [OPTION]...", "--fgfs-udp PORT", "SKAT_SHM_PREFIX",
        data + "/skyatlas-nd.xml", data + "/install-protocol.sh", "skat(1), skat-cli(1)"}},
  };
  for (const Page& page : kPages) {
    SCOPED_TRACE(page.program);
    const std::string path = PagePath(page.program);
    // As lintian runs it: any line on standard error is a fault of the page.
    const CommandRun check =
        RunCommand("LC_ALL=C.UTF-8 MANWIDTH=80 " + std::string(MAN_PATH) +
                   " --warnings -E UTF-8 -l -Tutf8 -Z " + Quoted(path) + " >/dev/null");
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.err, "");

    const std::string rendered = Rendered(path);
    EXPECT_EQ(SectionHeadings(rendered), page.headings);
    for (const std::string& text : page.texts) {
      EXPECT_NE(rendered.find(text), std::string::npos) << text;
    }
    // The footer: the package and version from --version.
    EXPECT_NE(rendered.find("\nSkyatlas " SKAT_VERSION " "), std::string::npos);
    const std::string source = FileBytes(path);
    EXPECT_EQ(source.find(SKAT_BUILD_DIR), std::string::npos);
    EXPECT_EQ(source.find(SKAT_SOURCE_DIR), std::string::npos);

    // The installed page: the same, compressed without a name or a time.
    const std::string compressed = FileBytes(path + ".gz");
    ASSERT_GT(compressed.size(), 10u);
    EXPECT_EQ(compressed[3] & 0x08, 0) << "a file name is stored";
    EXPECT_EQ(compressed.substr(4, 4), std::string(4, '\0')) << "a time is stored";
    EXPECT_EQ(RunCommand("gzip -dc " + Quoted(path + ".gz")).out, source);
  }
}

// Every command the program lists has its subsection, with its synopsis
// and its description, as the command's own --help prints them.
TEST(ManPages, SkatCliHasEveryCommandItsHelpLists) {
  const std::string usage = RunCommand(Quoted(SKAT_CLI_PATH) + " --help").out;
  std::vector<std::string> commands;
  bool listing = false;
  for (const std::string& line : Lines(usage)) {
    if (line == "Commands:") {
      listing = true;
    } else if (listing && line.rfind("  ", 0) == 0) {
      commands.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  ASSERT_GE(commands.size(), 9u);

  const std::vector<std::string> page = Lines(Rendered(PagePath("skat-cli")));
  size_t commandsSection = 0;
  while (commandsSection < page.size() && page[commandsSection] != "COMMANDS") ++commandsSection;
  ASSERT_LT(commandsSection, page.size());
  size_t searchFrom = commandsSection;
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    size_t heading = searchFrom;
    while (heading < page.size() && page[heading] != "   " + command) ++heading;
    ASSERT_LT(heading + 1, page.size()) << "no subsection";
    EXPECT_EQ(page[heading + 1].rfind("       skat-cli " + command, 0), 0u) << page[heading + 1];
    // The description's first words follow the synopsis.
    const std::string help = RunCommand(Quoted(SKAT_CLI_PATH) + " " + command + " --help").out;
    const size_t description = help.find("\n\n") + 2;
    const std::string firstWords =
        help.substr(description, help.find(' ', description + 12) - description);
    bool found = false;
    for (size_t line = heading; line < page.size() && line < heading + 20 && !found; ++line) {
      found = page[line].find(firstWords) != std::string::npos;
    }
    EXPECT_TRUE(found) << firstWords;
    searchFrom = heading + 1;
  }
}

}  // namespace
