// Where an installed program finds the files installed with it, and the
// version it belongs to. The programs are installed in <prefix>/bin, the
// display module in <prefix>/<libdir>/skyatlas and the shared data in
// <prefix>/share/skyatlas; each program finds the other two folders from its
// own place, so that an installed tree works wherever it was put and never
// looks into the build folder it came from.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// The version of Skyatlas, as the programs' --version prints it ("1.3").
std::string_view SkyatlasVersion();

// The folder of the running program, from /proc/self/exe; empty when the
// system does not say.
std::filesystem::path ProgramFolder();

// The installed module folder and shared data folder for a program that
// runs from `programFolder`; empty when `programFolder` is.
std::filesystem::path InstalledModuleFolder(const std::filesystem::path& programFolder);
std::filesystem::path InstalledDataFolder(const std::filesystem::path& programFolder);

}  // namespace platform
