// An NDB record of a test scenery file, at 2.5 degrees east.
#pragma once

#include <cstdint>
#include <string>

#include "tools/scenery_writer/bgl_writer.h"

namespace testing_support {

inline scenery_writer::BglNdb SceneryNdb(const std::string& identifier, double latitudeDeg,
                                         uint8_t tensUnits = 0x52) {
  scenery_writer::BglNdb ndb;
  ndb.identifier = identifier;
  ndb.name = "NDB " + identifier;
  ndb.tensUnits = tensUnits;
  ndb.latitude24 = scenery_writer::Latitude24(latitudeDeg);
  ndb.longitude24 = scenery_writer::Longitude24(2.5);
  return ndb;
}

}  // namespace testing_support
