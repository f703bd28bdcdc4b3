// A non-blocking UDP socket on the loopback address that FlightGear's
// generic protocol output sends to.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace ndhost {

class FgfsReceiver {
 public:
  // Binds 127.0.0.1:port (0 picks a free port); fails, saying why, when the
  // port cannot be had.
  static platform::Result<std::unique_ptr<FgfsReceiver>> Open(uint16_t port);
  ~FgfsReceiver();
  FgfsReceiver(const FgfsReceiver&) = delete;
  FgfsReceiver& operator=(const FgfsReceiver&) = delete;

  uint16_t Port() const { return port_; }

  // Hands the datagrams queued now (up to 4096) to `take`, oldest first, and
  // returns how many there were. `truncated` is true for a datagram longer than
  // `maxBytes`, of which only the first maxBytes bytes are handed on.
  int DrainQueued(size_t maxBytes,
                  const std::function<void(std::string_view bytes, bool truncated)>& take);

 private:
  FgfsReceiver(int descriptor, uint16_t port) : descriptor_(descriptor), port_(port) {}
  int descriptor_;
  uint16_t port_;
};

}  // namespace ndhost
