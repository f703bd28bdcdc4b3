// The live feed from FlightGear: packets of host/fgfs/skyatlas-nd.xml read
// from the loopback address, merged value by value, and applied to the
// aircraft whose host variables the display reads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "aircraft.h"
#include "fgfs_packet.h"
#include "fgfs_receiver.h"

namespace ndhost {

// Without a good packet for this long the feed counts as lost.
inline constexpr double kFgfsFeedTimeoutSeconds = 2.0;
// What the panel shows below the display while the feed is lost.
inline constexpr std::string_view kNoFeedText = "NO FEED";

// Sets the aircraft's values from the feed's, in the units the display reads:
// the compass shows the magnetic heading and the map turns by the true one,
// the wind is shown magnetic (FlightGear's true direction less the variation
// between its two headings); a receiver out of range gives the display's
// no-signal values.
void ApplyFgfsSample(const FgfsSample& state, AircraftState& aircraft);

class FgfsFeed {
 public:
  // Listens on 127.0.0.1:port (0: a free port, see Port()).
  // Fails, saying why, when the port cannot be had.
  static platform::Result<std::unique_ptr<FgfsFeed>> Open(uint16_t port);

  uint16_t Port() const { return receiver_->Port(); }

  // Takes every packet queued now; `nowSeconds` is the clock by which the
  // feed is judged lost (any steady clock; tests give their own).
  void Poll(double nowSeconds);
  // Takes one datagram as Poll does.
  void Take(std::string_view bytes, bool truncated, double nowSeconds);

  // Applies the values received so far; nothing before the first good packet.
  void Apply(AircraftState& aircraft) const;

  // True while the last good packet came less than 2 seconds ago.
  bool Live(double nowSeconds) const;
  // "NO FEED" while the feed is not live, else empty.
  std::string PanelNotice(double nowSeconds) const;

  uint64_t GoodPackets() const { return goodPackets_; }
  uint64_t RejectedPackets() const { return rejectedPackets_; }
  const std::string& LastRejection() const { return lastRejection_; }
  const FgfsSample& State() const { return state_; }

  // The flight as FlightGear flies it, in the form of the host's own flight
  // line: "HDG 262 SEL 270 TAS 156 GS 150 ALT 2500 (FlightGear)" (magnetic
  // heading and heading bug); the report's and the window title's text.
  std::string FlightText() const;

  // Lines for --report: the counts, the last rejection and the last position.
  std::string ReportText() const;

 private:
  explicit FgfsFeed(std::unique_ptr<FgfsReceiver> receiver) : receiver_(std::move(receiver)) {}

  std::unique_ptr<FgfsReceiver> receiver_;
  FgfsSample state_;
  bool haveGoodPacket_ = false;
  double lastGoodSeconds_ = 0;
  uint64_t goodPackets_ = 0;
  uint64_t rejectedPackets_ = 0;
  std::string lastRejection_;
};

}  // namespace ndhost
