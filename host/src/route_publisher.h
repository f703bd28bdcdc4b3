// Stands in for the flight-management component: publishes an ND plan text
// as the route block "fltplanMap0" or "fltplanMap1", alternating the number
// with every new route, and removes its blocks when it goes.
#pragma once

#include <string>
#include <string_view>

namespace ndhost {

class RoutePublisher {
 public:
  RoutePublisher() = default;
  RoutePublisher(const RoutePublisher&) = delete;
  RoutePublisher& operator=(const RoutePublisher&) = delete;
  ~RoutePublisher() { Withdraw(); }

  // Publishes the text (a NUL is added) under the other number than the
  // previous route, after removing the previous block. False on failure.
  bool Publish(std::string_view planText);
  // Publishes raw bytes exactly as given (no NUL added), for tests of damaged blocks.
  bool PublishBytes(std::string_view bytes);
  void Withdraw();
  int LastBlockNumber() const { return lastBlock_; }

 private:
  int lastBlock_ = -1;
};

}  // namespace ndhost
