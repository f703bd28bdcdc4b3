// Scanning one scenery file: map it, decode it in place, and unpack it
// once when it turns out to be packed.
#pragma once

#include <filesystem>

#include "scanner/scan_session.h"

namespace scanner {

// Returns 0 to go on with the next file, non-zero to stop the whole scan.
int ScanBglFile(ScanSession& session, const std::filesystem::path& path);

}  // namespace scanner
