// The coastline file made at build time from the data in map/data, built
// into the program so that nothing is looked for at run time.
#pragma once

#include <cstddef>
#include <span>

#include "map/coastline_file.h"

namespace navmap {

extern const unsigned char kCoastlineBytes[];
extern const size_t kCoastlineByteCount;

inline std::span<const uint8_t> BuiltInCoastlineBytes() {
  return {kCoastlineBytes, kCoastlineByteCount};
}

// The built-in coastlines, read once on first use (later calls return the
// same). Never null: a built-in file that would not read leaves the map
// without coastlines, which the tests catch.
const Coastlines& BuiltInCoastlines();

}  // namespace navmap
