#include "platform/installation.h"

#include <system_error>

// The build passes the version and the two folders as the install rules
// place them, relative to the program folder ("../lib/skyatlas").
#ifndef SKYATLAS_VERSION
#error "SKYATLAS_VERSION must be defined by the build"
#endif
#ifndef SKAT_PROGRAM_TO_MODULE_FOLDER
#error "SKAT_PROGRAM_TO_MODULE_FOLDER must be defined by the build"
#endif
#ifndef SKAT_PROGRAM_TO_DATA_FOLDER
#error "SKAT_PROGRAM_TO_DATA_FOLDER must be defined by the build"
#endif

namespace platform {

namespace {

std::filesystem::path Beside(const std::filesystem::path& programFolder, const char* relative) {
  if (programFolder.empty()) return {};
  return (programFolder / relative).lexically_normal();
}

}  // namespace

std::string_view SkyatlasVersion() {
  return SKYATLAS_VERSION;
}

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return program.parent_path();
}

std::filesystem::path InstalledModuleFolder(const std::filesystem::path& programFolder) {
  return Beside(programFolder, SKAT_PROGRAM_TO_MODULE_FOLDER);
}

std::filesystem::path InstalledDataFolder(const std::filesystem::path& programFolder) {
  return Beside(programFolder, SKAT_PROGRAM_TO_DATA_FOLDER);
}

}  // namespace platform
