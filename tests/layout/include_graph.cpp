#include "include_graph.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace layout {

namespace fs = std::filesystem;

namespace {

const std::set<std::string> kSourceExtensions = {".h", ".hpp", ".c", ".cc", ".cpp"};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Relative(const fs::path& path, const fs::path& root) {
  std::string relative = path.lexically_relative(root).generic_string();
  return relative == "." ? "" : relative;
}

std::string FolderOf(const std::string& file) {
  size_t slash = file.rfind('/');
  return slash == std::string::npos ? "" : file.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
  return fs::path(folder.empty() ? name : folder + "/" + name).lexically_normal().generic_string();
}

// Build output and version-control folders hold no sources of the tree.
bool SkippedFolder(const fs::path& folder, const fs::path& root) {
  std::string name = folder.filename().string();
  return name.starts_with(".") || (folder.parent_path() == root && name.starts_with("build"));
}

std::set<std::string> SourceFiles(const fs::path& root) {
  std::set<std::string> files;
  for (auto entry = fs::recursive_directory_iterator(root);
       entry != fs::recursive_directory_iterator(); ++entry) {
    if (entry->is_directory() && SkippedFolder(entry->path(), root)) {
      entry.disable_recursion_pending();
      continue;
    }
    if (entry->is_regular_file() && kSourceExtensions.contains(entry->path().extension().string()))
      files.insert(Relative(entry->path(), root));
  }
  return files;
}

std::vector<std::string> QuotedIncludes(const std::string& text) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> names;
  std::istringstream lines(text);
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, match, kInclude)) names.push_back(match[1]);
  }
  return names;
}

std::string Trimmed(std::string_view text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return "";
  size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

std::string FirstComponents(const std::string& folder, int depth) {
  size_t end = 0;
  for (int component = 0; component < depth; ++component) {
    end = folder.find('/', component == 0 ? 0 : end + 1);
    if (end == std::string::npos) return folder;
  }
  return folder.substr(0, end);
}

}  // namespace

std::vector<std::string> ReadIncludeRoots(const fs::path& root) {
  static const std::regex kCall(R"(target_include_directories\s*\(([^)]*)\))");
  static const std::regex kFolder(
      R"(\$\{(PROJECT_SOURCE_DIR|CMAKE_CURRENT_SOURCE_DIR)\}(/[^\s)]*)?)");
  std::set<std::string> roots;
  for (auto entry = fs::recursive_directory_iterator(root);
       entry != fs::recursive_directory_iterator(); ++entry) {
    if (entry->is_directory() && SkippedFolder(entry->path(), root)) {
      entry.disable_recursion_pending();
      continue;
    }
    if (entry->path().filename() != "CMakeLists.txt") continue;
    std::string text = ReadText(entry->path());
    std::string listFolder = Relative(entry->path().parent_path(), root);
    for (auto call = std::sregex_iterator(text.begin(), text.end(), kCall);
         call != std::sregex_iterator(); ++call) {
      std::string arguments = (*call)[1];
      for (auto folder = std::sregex_iterator(arguments.begin(), arguments.end(), kFolder);
           folder != std::sregex_iterator(); ++folder) {
        std::string base = (*folder)[1] == "PROJECT_SOURCE_DIR" ? "" : listFolder;
        std::string rest = (*folder)[2].matched ? std::string((*folder)[2]).substr(1) : "";
        std::string joined = rest.empty() ? base : Join(base, rest);
        roots.insert(joined == "." ? "" : joined);
      }
    }
  }
  return {roots.begin(), roots.end()};
}

IncludeScan ScanIncludes(const fs::path& root, const std::vector<std::string>& includeRoots) {
  IncludeScan scan;
  std::set<std::string> files = SourceFiles(root);
  for (const std::string& file : files) {
    const std::string folder = FolderOf(file);
    for (const std::string& name : QuotedIncludes(ReadText(root / file))) {
      std::optional<std::string> found;
      if (files.contains(Join(folder, name))) found = Join(folder, name);
      for (size_t at = 0; !found && at < includeRoots.size(); ++at) {
        if (files.contains(Join(includeRoots[at], name))) found = Join(includeRoots[at], name);
      }
      if (!found) {
        scan.unresolved.push_back(file + ": " + name);
      } else if (FolderOf(*found) != folder) {
        scan.arrows[folder].insert(FolderOf(*found));
      }
    }
  }
  return scan;
}

FolderGraph Coarsen(const FolderGraph& graph, int depth) {
  FolderGraph coarse;
  for (const auto& [from, targets] : graph) {
    std::string coarseFrom = FirstComponents(from, depth);
    for (const std::string& to : targets) {
      std::string coarseTo = FirstComponents(to, depth);
      if (coarseTo != coarseFrom) coarse[coarseFrom].insert(coarseTo);
    }
  }
  return coarse;
}

std::vector<std::string> FindCycle(const FolderGraph& graph) {
  enum class Mark { Open, Done };
  std::map<std::string, Mark> marks;
  std::vector<std::string> path;
  std::vector<std::string> cycle;
  // Depth first; a folder met again while still open closes a cycle.
  std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
    auto mark = marks.find(folder);
    if (mark != marks.end() && mark->second == Mark::Done) return false;
    if (mark != marks.end()) {
      auto start = std::find(path.begin(), path.end(), folder);
      cycle.assign(start, path.end());
      cycle.push_back(folder);
      return true;
    }
    marks[folder] = Mark::Open;
    path.push_back(folder);
    auto targets = graph.find(folder);
    if (targets != graph.end()) {
      for (const std::string& to : targets->second) {
        if (visit(to)) return true;
      }
    }
    path.pop_back();
    marks[folder] = Mark::Done;
    return false;
  };
  for (const auto& entry : graph) {
    if (visit(entry.first)) return cycle;
  }
  return {};
}

std::optional<FolderGraph> ReadListedArrows(std::string_view document, std::string_view heading,
                                            std::string& problem) {
  enum class Place { BeforeHeading, BeforeBlock, InBlock };
  Place place = Place::BeforeHeading;
  FolderGraph listed;
  std::istringstream lines{std::string(document)};
  std::string line;
  while (std::getline(lines, line)) {
    std::string text = Trimmed(line);
    if (place == Place::BeforeHeading) {
      if (text == heading) place = Place::BeforeBlock;
    } else if (place == Place::BeforeBlock) {
      if (text.starts_with("```")) place = Place::InBlock;
    } else if (text.starts_with("```")) {
      return listed;
    } else if (!text.empty()) {
      size_t arrow = text.find(" -> ");
      std::string from = arrow == std::string::npos ? "" : Trimmed(text.substr(0, arrow));
      if (from.empty() || from.find(' ') != std::string::npos) {
        problem = "not an arrow line: " + text;
        return std::nullopt;
      }
      std::istringstream targets(text.substr(arrow + 4));
      std::string to;
      while (std::getline(targets, to, ',')) {
        to = Trimmed(to);
        if (to.empty() || to.find(' ') != std::string::npos) {
          problem = "not an arrow line: " + text;
          return std::nullopt;
        }
        listed[from].insert(to);
      }
    }
  }
  problem = place == Place::BeforeHeading
                ? "no heading " + std::string(heading)
                : "no closed block of arrows after " + std::string(heading);
  return std::nullopt;
}

std::vector<std::string> ArrowsMissingFrom(const FolderGraph& graph, const FolderGraph& other) {
  std::vector<std::string> missing;
  for (const auto& [from, targets] : graph) {
    auto otherTargets = other.find(from);
    for (const std::string& to : targets) {
      if (otherTargets == other.end() || !otherTargets->second.contains(to))
        missing.push_back(from + " -> " + to);
    }
  }
  return missing;
}

}  // namespace layout
