#include "map/coastline_data.h"

namespace navmap {

const Coastlines& BuiltInCoastlines() {
  static const Coastlines coastlines = [] {
    CoastlineRead read = DecodeCoastlines(BuiltInCoastlineBytes());
    return read.coastlines ? std::move(*read.coastlines) : Coastlines{};
  }();
  return coastlines;
}

}  // namespace navmap
