// The keys that fly the stand-in aircraft, in the window and in scheduled
// key lists. They are keys the display's default key table never reads
// (arrows, page keys, Space, Enter and F5 to F7), so every key can go to the
// display as well.
#pragma once

#include <cstdint>
#include <string>

#include "flight_session.h"

namespace ndhost {

// Windows virtual-key codes of the flight keys.
inline constexpr uint32_t kKeyEnter = 0x0D;
inline constexpr uint32_t kKeySpace = 0x20;
inline constexpr uint32_t kKeyPageUp = 0x21;
inline constexpr uint32_t kKeyPageDown = 0x22;
inline constexpr uint32_t kKeyLeft = 0x25;
inline constexpr uint32_t kKeyUp = 0x26;
inline constexpr uint32_t kKeyRight = 0x27;
inline constexpr uint32_t kKeyDown = 0x28;
inline constexpr uint32_t kKeyF5 = 0x74;
inline constexpr uint32_t kKeyF6 = 0x75;
inline constexpr uint32_t kKeyF7 = 0x76;

// Works the flight key on the session; false when the key flies nothing.
bool ApplyFlightKey(uint32_t virtualKey, bool shift, bool ctrl, FlightSession& session);

// The key legend of --help and the README.
std::string FlightKeyLegend();

}  // namespace ndhost
