// Arbitrary bytes as the record of an interrupted set replacement, read and
// acted on in a folder of database files: never a crash, never a name
// outside the set, and a refused record changes nothing.
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_set.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTargets[] = {"ndb.dat", "vor.dat", "apt.dat", "int.dat", "idx.dat"};

const fs::path& Folder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "skat-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return fs::path(pattern);
  }();
  return folder;
}

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> Listing() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Folder())) {
    names.push_back(entry.path().filename().string() + ":" +
                    std::to_string(fs::file_size(entry.path())));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto entries = platform::ParseSetManifest(text)) {
    // What was read writes back to a text that reads the same.
    const auto reread = platform::ParseSetManifest(platform::EncodeSetManifest(*entries));
    if (!reread || reread->size() != entries->size()) std::abort();
  } else if (entries.error().message.empty()) {
    std::abort();  // a refusal always says why
  }

  fs::remove_all(Folder());
  fs::create_directories(Folder());
  for (std::string_view name : kTargets) Write(Folder() / name, "old " + std::string(name));
  Write(Folder() / "ndb.dat.tmp.1.0", "new ndb.dat");
  Write(Folder() / "ndb.dat.old.1.1", "old ndb.dat");
  Write(Folder() / "skat.save", text);
  const std::vector<std::string> before = Listing();
  const platform::Result<platform::SetRecovery> result =
      platform::FinishInterruptedSet(Folder() / "skat.save", kTargets);
  if (!result) {
    if (result.error().message.empty() || Listing() != before) std::abort();
  } else if (fs::exists(Folder() / "skat.save")) {
    std::abort();  // finished means the record is gone
  }
  return 0;
}
