// Scanning one scenery file: map it, decode it in place, and unpack it
// once when it turns out to be packed.
#pragma once

#include <filesystem>

#include "scanner/scan_session.h"

namespace scanner {

// What the walk does after a file.
enum class FileOutcome { NextFile, StopScan };

// Scans one file; a file that cannot be read or decoded is reported, and the
// user's answer decides whether the walk goes on.
FileOutcome ScanBglFile(ScanSession& session, const std::filesystem::path& path);

}  // namespace scanner
