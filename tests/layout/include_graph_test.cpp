#include "include_graph.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_folder.h"

namespace layout {
namespace {

constexpr std::string_view kHeading = "## Folder arrows";

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text;
}

std::string ReadDocument(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The tree itself: every include resolves, the folders it makes are exactly
// the arrows the architecture document lists, and no cycle joins folders,
// neither the folders themselves nor the top-level ones.
TEST(IncludeGraph, TheTreeMakesTheListedArrowsAndNoCycle) {
  const std::filesystem::path root = SKAT_SOURCE_DIR;
  IncludeScan scan = ScanIncludes(root, ReadIncludeRoots(root));
  EXPECT_TRUE(scan.unresolved.empty()) << "includes of no file of the tree:\n"
                                       << Lines(scan.unresolved);
  ASSERT_FALSE(scan.arrows.empty());

  std::string problem;
  std::optional<FolderGraph> listed =
      ReadListedArrows(ReadDocument(root / "docs/ARCHITECTURE.md"), kHeading, problem);
  ASSERT_TRUE(listed) << "docs/ARCHITECTURE.md: " << problem;
  EXPECT_TRUE(ArrowsMissingFrom(scan.arrows, *listed).empty())
      << "arrows docs/ARCHITECTURE.md does not list:\n"
      << Lines(ArrowsMissingFrom(scan.arrows, *listed));
  EXPECT_TRUE(ArrowsMissingFrom(*listed, scan.arrows).empty())
      << "arrows docs/ARCHITECTURE.md lists that no include makes:\n"
      << Lines(ArrowsMissingFrom(*listed, scan.arrows));

  EXPECT_EQ(FindCycle(scan.arrows), std::vector<std::string>{});
  EXPECT_EQ(FindCycle(Coarsen(scan.arrows, 1)), std::vector<std::string>{});
}

// A small tree: names beside the including file come first, then the include
// roots that CMake lists; angle-bracket includes, build output and hidden
// folders do not count, and a name of no file is reported.
TEST(IncludeGraph, ResolvesNamesAsTheCompilerDoes) {
  testing_support::TempFolder tree;
  tree.Write("CMakeLists.txt", "target_include_directories(lib PUBLIC ${PROJECT_SOURCE_DIR})\n");
  tree.Write("host/CMakeLists.txt",
             "target_include_directories(host_lib\n  PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)\n");
  tree.Write("host/src/radio.h", "");
  tree.Write("platform/entry.h", "");
  tree.Write("navdb/entry.h", "");
  tree.Write("navdb/lines.h", "#include \"entry.h\"\n");
  tree.Write("gauge/data/reader.cpp",
             "#include <vector>\n"
             "#include \"platform/entry.h\"\n"
             "#  include \"navdb/lines.h\"\n"
             "#include \"radio.h\"\n"
             "// #include \"gauge/nothing.h\" is a comment, not an include\n"
             "#include \"missing.h\"\n");
  tree.Write("build/default/made.cpp", "#include \"navdb/entry.h\"\n");
  tree.Write(".cache/old.cpp", "#include \"navdb/entry.h\"\n");

  std::vector<std::string> roots = ReadIncludeRoots(tree.path());
  EXPECT_EQ(roots, (std::vector<std::string>{"", "host/src"}));
  IncludeScan scan = ScanIncludes(tree.path(), roots);
  EXPECT_EQ(scan.arrows, (FolderGraph{{"gauge/data", {"host/src", "navdb", "platform"}}}));
  EXPECT_EQ(scan.unresolved, std::vector<std::string>{"gauge/data/reader.cpp: missing.h"});
}

TEST(IncludeGraph, FindsCyclesBetweenFoldersAndBetweenTopFolders) {
  // The gauge's folders as they were: drawing and module included each other.
  FolderGraph twoWay = {{"gauge/drawing", {"gauge/data", "gauge/module"}},
                        {"gauge/module", {"gauge/data", "gauge/drawing"}}};
  EXPECT_EQ(FindCycle(twoWay),
            (std::vector<std::string>{"gauge/drawing", "gauge/module", "gauge/drawing"}));

  // No cycle between the folders, one between the top folders.
  FolderGraph acrossTops = {{"a/x", {"b/y"}}, {"b/y", {"c"}}, {"c", {"a/z"}}};
  EXPECT_EQ(FindCycle(acrossTops), std::vector<std::string>{});
  FolderGraph tops = Coarsen(acrossTops, 1);
  EXPECT_EQ(tops, (FolderGraph{{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}}));
  EXPECT_EQ(FindCycle(tops), (std::vector<std::string>{"a", "b", "c", "a"}));

  // Arrows inside one top folder drop out; a chain and a diamond hold none.
  EXPECT_EQ(Coarsen({{"tests/host", {"tests/gauge", "host/src"}}}, 1),
            (FolderGraph{{"tests", {"host"}}}));
  FolderGraph diamond = {{"shell/cli", {"shell/core", "planner"}},
                         {"shell/core", {"navdb"}},
                         {"planner", {"navdb"}},
                         {"navdb", {"platform"}}};
  EXPECT_EQ(FindCycle(diamond), std::vector<std::string>{});
}

TEST(IncludeGraph, ReadsTheListedArrowsAndNamesWhatDiffers) {
  const std::string document =
      "# Design\n\n## Folder arrows\n\nOne line per folder:\n\n```\n"
      "gauge/module -> gauge/drawing, gauge/data\n"
      "\n"
      "gauge/drawing -> gauge/data\n"
      "```\n\n```\nnot -> read\n```\n";
  std::string problem;
  std::optional<FolderGraph> listed = ReadListedArrows(document, kHeading, problem);
  ASSERT_TRUE(listed) << problem;
  EXPECT_EQ(*listed, (FolderGraph{{"gauge/module", {"gauge/data", "gauge/drawing"}},
                                  {"gauge/drawing", {"gauge/data"}}}));

  FolderGraph tree = {{"gauge/module", {"gauge/data", "gauge/drawing"}},
                      {"gauge/drawing", {"gauge/module"}}};
  EXPECT_EQ(ArrowsMissingFrom(tree, *listed),
            std::vector<std::string>{"gauge/drawing -> gauge/module"});
  EXPECT_EQ(ArrowsMissingFrom(*listed, tree),
            std::vector<std::string>{"gauge/drawing -> gauge/data"});

  EXPECT_FALSE(
      ReadListedArrows("## Folder arrows\n```\ngauge/module gauge/data\n```\n", kHeading, problem));
  EXPECT_EQ(problem, "not an arrow line: gauge/module gauge/data");
  EXPECT_FALSE(ReadListedArrows("## Folder arrows\n```\na -> b, , c\n```\n", kHeading, problem));
  EXPECT_EQ(problem, "not an arrow line: a -> b, , c");
  EXPECT_FALSE(ReadListedArrows("## Other\n```\na -> b\n```\n", kHeading, problem));
  EXPECT_EQ(problem, "no heading ## Folder arrows");
  EXPECT_FALSE(ReadListedArrows("## Folder arrows\n```\na -> b\n", kHeading, problem));
  EXPECT_EQ(problem, "no closed block of arrows after ## Folder arrows");
}

}  // namespace
}  // namespace layout
