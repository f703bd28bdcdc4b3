// The great-circle helpers the host's radios, flight and autopilot use,
// under the host's own names.
#pragma once

#include "platform/great_circle.h"

namespace ndhost {

using platform::Destination;
using platform::DistanceNm;
using platform::GeoPoint;
using platform::InitialBearingDeg;
using platform::kFeetPerNm;
using platform::Normalize360;
using platform::SignedDifferenceDeg;
using platform::WholeDegrees;

}  // namespace ndhost
