#include "map/coastline_data.h"

namespace navmap {

const Coastlines& BuiltInCoastlines() {
  static const Coastlines coastlines = [] {
    platform::Result<Coastlines> read = DecodeCoastlines(BuiltInCoastlineBytes());
    return read ? std::move(read).value() : Coastlines{};
  }();
  return coastlines;
}

}  // namespace navmap
