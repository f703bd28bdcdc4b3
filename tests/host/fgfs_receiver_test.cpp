// The feed over real loopback sockets: every queued packet is taken in one
// poll, the newest values win, bad and over-long datagrams are counted.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "fgfs_feed.h"
#include "fgfs_test_packets.h"

namespace ndhost {
namespace {

using fgfs_test::kFlightGearPacket;
using fgfs_test::WithField;

// Sends datagrams to 127.0.0.1:port as FlightGear does.
class Sender {
 public:
  explicit Sender(uint16_t port) : descriptor_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    address_.sin_family = AF_INET;
    address_.sin_port = htons(port);
    address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  }
  ~Sender() { ::close(descriptor_); }
  void Send(const std::string& bytes) {
    ASSERT_EQ(::sendto(descriptor_, bytes.data(), bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&address_), sizeof(address_)),
              static_cast<ssize_t>(bytes.size()));
  }

 private:
  int descriptor_;
  sockaddr_in address_{};
};

// Polls until `count` packets were taken (loopback delivery is quick, but
// not promised to be instant).
void PollUntil(FgfsFeed& feed, uint64_t count) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    feed.Poll(0);
    if (feed.GoodPackets() + feed.RejectedPackets() >= count) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

TEST(FgfsReceiver, TakesAllQueuedPacketsAndKeepsTheNewestValues) {
  platform::Result<std::unique_ptr<FgfsFeed>> opened = FgfsFeed::Open(0);
  ASSERT_TRUE(opened) << opened.error().message;
  const std::unique_ptr<FgfsFeed> feed = std::move(opened).value();
  ASSERT_NE(feed->Port(), 0);
  Sender sender(feed->Port());
  sender.Send(WithField(fgfs_test::kLatitude, "48.5"));
  sender.Send(WithField(fgfs_test::kLatitude, "inf"));
  sender.Send(WithField(fgfs_test::kLatitude, "48.75", WithField(fgfs_test::kNav1Ident, "PNE")));
  sender.Send(WithField(fgfs_test::kNav1Ident, "", WithField(fgfs_test::kLatitude, "")));
  sender.Send(std::string(3000, 'A'));
  PollUntil(*feed, 5);
  EXPECT_EQ(feed->GoodPackets(), 3u);
  EXPECT_EQ(feed->RejectedPackets(), 2u);
  EXPECT_EQ(feed->LastRejection(), "packet is longer than 2048 bytes");
  EXPECT_DOUBLE_EQ(*feed->State().latitudeDeg, 48.75);
  EXPECT_EQ(*feed->State().nav1.ident, "PNE");

  AircraftState aircraft;
  feed->Apply(aircraft);
  EXPECT_DOUBLE_EQ(aircraft.latitudeDeg, 48.75);
  EXPECT_EQ(aircraft.nav1Ident, "PNE");

  // The queue is empty now: another poll takes nothing.
  feed->Poll(0);
  EXPECT_EQ(feed->GoodPackets() + feed->RejectedPackets(), 5u);
}

TEST(FgfsReceiver, APortInUseIsAFailureWithItsReason) {
  const platform::Result<std::unique_ptr<FgfsFeed>> first = FgfsFeed::Open(0);
  ASSERT_TRUE(first) << first.error().message;
  const platform::Result<std::unique_ptr<FgfsFeed>> second = FgfsFeed::Open((*first)->Port());
  ASSERT_FALSE(second);
  EXPECT_EQ(second.error().errorNumber, EADDRINUSE);
  EXPECT_EQ(second.error().message,
            "cannot listen on 127.0.0.1:" + std::to_string((*first)->Port()) +
                " (UDP): Address already in use");
}

}  // namespace
}  // namespace ndhost
