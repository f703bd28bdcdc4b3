// The display following the feed: a frame drawn from a packet that came over
// loopback, and the panel's "NO FEED" strip under the display, which leaves
// the display itself untouched.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "fgfs_panel_strip.h"
#include "fgfs_test_packets.h"
#include "module_fixture.h"

namespace ndhost {
namespace {

using fgfs_test::kFlightGearPacket;

void SendTo(uint16_t port, const std::string& bytes) {
  const int descriptor = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::sendto(descriptor, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&address),
           sizeof(address));
  ::close(descriptor);
}

size_t CountColour(const PanelPicture& picture, int firstRow, uint32_t rgb) {
  return std::count(picture.rgb.begin() + static_cast<ptrdiff_t>(firstRow) * picture.widthPx,
                    picture.rgb.end(), rgb);
}

TEST(FgfsPanelStrip, NoFeedIsRedTextUnderThePictureAndTheLabelIsGrey) {
  PanelPicture picture;
  picture.widthPx = 200;
  picture.heightPx = 10;
  picture.rgb.assign(2000, 0x123456);
  PanelPicture withNotice = picture;
  AddFeedStrip(withNotice, 2, "FGFS 127.0.0.1:5500", "NO FEED");
  ASSERT_EQ(withNotice.heightPx, 10 + 28);
  ASSERT_EQ(withNotice.rgb.size(), 200u * 38);
  EXPECT_TRUE(std::equal(picture.rgb.begin(), picture.rgb.end(), withNotice.rgb.begin()));
  // Only the strip's colour and the notice's red, the red in the middle.
  std::set<uint32_t> colours(withNotice.rgb.begin() + 2000, withNotice.rgb.end());
  EXPECT_EQ(colours, (std::set<uint32_t>{kFeedStripRgb, kNoFeedRgb}));
  EXPECT_GT(CountColour(withNotice, 10, kNoFeedRgb), 100u);
  int leftmostRedX = 200;
  for (size_t index = 2000; index < withNotice.rgb.size(); ++index) {
    if (withNotice.rgb[index] == kNoFeedRgb) {
      leftmostRedX = std::min(leftmostRedX, static_cast<int>(index % 200));
    }
  }
  EXPECT_GT(leftmostRedX, 40);  // centred, not at the left margin

  PanelPicture withLabel = picture;
  AddFeedStrip(withLabel, 1, "FGFS 127.0.0.1:5500", "");
  ASSERT_EQ(withLabel.heightPx, 10 + 14);
  EXPECT_EQ(CountColour(withLabel, 10, kNoFeedRgb), 0u);
  EXPECT_GT(CountColour(withLabel, 10, kFeedLabelRgb), 30u);
}

class FgfsPanelFrame : public gauge_test::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    gauge_test::WriteDatabase(folder_.path(),
                              gauge_test::BuildDatabase({{'V', "CGN", 49.0199, 2.5001},
                                                         {'V', "PGS", 48.9995, 2.6238},
                                                         {'N', "CGO", 48.9874, 2.4006}}));
    platform::Result<std::unique_ptr<FgfsFeed>> opened = FgfsFeed::Open(0);
    ASSERT_TRUE(opened) << opened.error().message;
    feed_ = std::move(opened).value();
  }
  // Frames a quarter of a second apart, each following the feed first.
  void RunFollowing(int frames) {
    for (int frame = 0; frame < frames; ++frame) {
      FollowFeed(*feed_, *host_, 0);
      host_->Frame();
      host_->AdvanceClock(0.25);
    }
  }
  std::unique_ptr<FgfsFeed> feed_;
};

TEST_F(FgfsPanelFrame, APacketOverLoopbackDrivesTheDrawnDisplay) {
  Start();
  Settle();
  ASSERT_EQ(State().databaseStatus, 0);
  const std::vector<uint8_t> before = host_->DisplayImage()->pixels;
  const uint32_t redrawsBefore = State().redrawCount;

  SendTo(feed_->Port(), kFlightGearPacket);
  for (int attempt = 0; attempt < 200 && feed_->GoodPackets() == 0; ++attempt) {
    RunFollowing(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(feed_->GoodPackets(), 1u);
  Settle();
  EXPECT_GT(State().redrawCount, redrawsBefore);
  EXPECT_NE(host_->DisplayImage()->pixels, before);
  EXPECT_DOUBLE_EQ(host_->Aircraft().headingDeg, 262.18);
  EXPECT_EQ(host_->Aircraft().nav1Ident, "CGN");

  // The same values again draw nothing new.
  const uint32_t redrawsSettled = State().redrawCount;
  const std::vector<uint8_t> settled = host_->DisplayImage()->pixels;
  SendTo(feed_->Port(), kFlightGearPacket);
  for (int attempt = 0; attempt < 200 && feed_->GoodPackets() == 1; ++attempt) {
    RunFollowing(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  RunFollowing(4);
  EXPECT_EQ(feed_->GoodPackets(), 2u);
  EXPECT_EQ(State().redrawCount, redrawsSettled);
  EXPECT_EQ(host_->DisplayImage()->pixels, settled);

  // The panel: the display as ComposePanel shows it, the strip under it.
  // The feed's last packet came at clock 0: live until 2 seconds.
  const PanelPicture display = ComposePanel(*host_, 2);
  const PanelPicture live = ComposePanelWithFeed(*host_, 2, feed_.get(), 1.9);
  const PanelPicture lost = ComposePanelWithFeed(*host_, 2, feed_.get(), 2.0);
  ASSERT_EQ(live.heightPx, display.heightPx + kFeedStripHeightPx * 2);
  ASSERT_EQ(lost.heightPx, live.heightPx);
  EXPECT_TRUE(std::equal(display.rgb.begin(), display.rgb.end(), live.rgb.begin()));
  EXPECT_TRUE(std::equal(display.rgb.begin(), display.rgb.end(), lost.rgb.begin()));
  EXPECT_EQ(CountColour(live, display.heightPx, kNoFeedRgb), 0u);
  EXPECT_GT(CountColour(lost, display.heightPx, kNoFeedRgb), 100u);
  EXPECT_EQ(ComposePanelWithFeed(*host_, 2, nullptr, 0).rgb, display.rgb);
}

}  // namespace
}  // namespace ndhost
