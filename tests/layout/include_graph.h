// The folder graph of the source tree, as its #include lines make it, and the
// list of arrows docs/ARCHITECTURE.md holds: the two must agree, and neither
// may hold a cycle.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace layout {

// Folder (relative to the tree's root, "/"-separated) -> the folders its
// files include from. A folder including its own files is no arrow.
using FolderGraph = std::map<std::string, std::set<std::string>>;

struct IncludeScan {
  FolderGraph arrows;
  // "file: name" of every quoted include that names no file of the tree.
  std::vector<std::string> unresolved;
};

// The folders the build puts on the include path, relative to `root` ("" for
// the root itself): every target_include_directories of a CMakeLists.txt
// that names ${PROJECT_SOURCE_DIR} or ${CMAKE_CURRENT_SOURCE_DIR}.
std::vector<std::string> ReadIncludeRoots(const std::filesystem::path& root);

// Reads the quoted #include lines of every C and C++ file under `root`
// (build folders and hidden folders left out). A name is looked up beside
// the including file first, then under each include root, as the compiler
// does.
IncludeScan ScanIncludes(const std::filesystem::path& root,
                         const std::vector<std::string>& includeRoots);

// The arrows between the folders' first `depth` components; arrows inside
// one such folder drop out.
FolderGraph Coarsen(const FolderGraph& graph, int depth);

// The folders along one cycle, the first repeated at the end; empty when the
// graph has none.
std::vector<std::string> FindCycle(const FolderGraph& graph);

// The arrows of the first fenced block after the heading line `heading`,
// one line per folder: "from -> to, to, ...". Nothing when the heading or
// the block is missing or a line of the block is not of that form; `problem`
// says which.
std::optional<FolderGraph> ReadListedArrows(std::string_view document, std::string_view heading,
                                            std::string& problem);

// "from -> to" of every arrow of `graph` that `other` does not hold.
std::vector<std::string> ArrowsMissingFrom(const FolderGraph& graph, const FolderGraph& other);

}  // namespace layout
