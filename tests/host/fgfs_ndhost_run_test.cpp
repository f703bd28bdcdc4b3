// ndhost --fgfs-udp end to end: the program follows packets sent to it over
// loopback while it runs, reports what it took and rejected, and fails when
// nothing came; and its command line for the feed.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "command_line.h"
#include "fgfs_receiver.h"
#include "fgfs_test_packets.h"
#include "ndhost_runner.h"
#include "platform/shared_memory.h"
#include "test_environment.h"
#include "tests/support/database_writer.h"

namespace {

using ndhost_test::RunNdhost;
using ndhost_test::RunResult;

// A port that was free a moment ago.
uint16_t FreePort() {
  const platform::Result<std::unique_ptr<ndhost::FgfsReceiver>> probe =
      ndhost::FgfsReceiver::Open(0);
  return probe ? (*probe)->Port() : 0;
}

class FgfsNdhostRun : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)gauge_test::SharedMemoryPrefix();
    std::filesystem::copy_file(LUMARO_MODULE_PATH, folder_.path() / "Gauges" / "Lumaro.gau");
    gauge_test::WriteDatabase(folder_.path(),
                              gauge_test::BuildDatabase({{'V', "CGN", 49.0199, 2.5001}}));
  }
  void TearDown() override { ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str()); }
  std::string Root() const { return folder_.path().string(); }
  gauge_test::SimulatorFolder folder_;
};

// Whether a UDP socket of this machine is bound to the port (read from the
// kernel's table, so that looking cannot take the port from ndhost).
bool UdpPortBound(uint16_t port) {
  std::FILE* table = std::fopen("/proc/net/udp", "r");
  if (table == nullptr) return true;  // cannot tell: send at once
  char wanted[16];
  std::snprintf(wanted, sizeof(wanted), ":%04X ", static_cast<unsigned>(port));
  char line[512];
  bool bound = false;
  while (!bound && std::fgets(line, sizeof(line), table) != nullptr) {
    // "  sl  local_address rem_address ...": the local address is the second field.
    const char* local = std::strchr(line, ':');
    bound = local != nullptr && std::strstr(local + 1, wanted) == std::strchr(local + 1, ':');
  }
  std::fclose(table);
  return bound;
}

TEST_F(FgfsNdhostRun, FollowsPacketsSentWhileItRuns) {
  const uint16_t port = FreePort();
  ASSERT_NE(port, 0);
  std::atomic<bool> done = false;
  // FlightGear's rate: a packet every 50 ms, and one that is not a packet,
  // from the moment ndhost listens (a slow start would lose the first ones).
  std::thread sender([&] {
    for (int wait = 0; wait < 4000 && !done && !UdpPortBound(port); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const int descriptor = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int packet = 0; packet < 400 && !done; ++packet) {
      std::string bytes = packet == 10 ? std::string("SKND1\tNaN\n")
                                       : fgfs_test::WithField(fgfs_test::kLatitude, "49.125");
      ::sendto(descriptor, bytes.data(), bytes.size(), 0,
               reinterpret_cast<const sockaddr*>(&address), sizeof(address));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::close(descriptor);
  });
  const std::string png = (folder_.path() / "feed.png").string();
  RunResult run = RunNdhost("--sim-root " + Root() + " --frames 36 --fps 18 --fgfs-udp " +
                            std::to_string(port) + " --report --png " + png);
  done = true;
  sender.join();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string prefix = "fgfs feed on 127.0.0.1:" + std::to_string(port) + ": ";
  EXPECT_NE(run.output.find(prefix), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" good packets, 1 rejected\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("fgfs last rejected packet: 44 fields expected, 2 received\n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("fgfs last values: lat 49.125000 lon 2.610535 alt -1 ft"),
            std::string::npos)
      << run.output;
  // The flight line is FlightGear's, not the host's own unused flight.
  EXPECT_NE(run.output.find("flight: HDG 262 SEL 000 TAS 0 GS 0 ALT -1 (FlightGear)\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(folder_.Read("feed.png").substr(1, 3), "PNG");
}

TEST_F(FgfsNdhostRun, NoPacketAtAllIsAFailure) {
  const uint16_t port = FreePort();
  const std::string png = (folder_.path() / "none.png").string();
  RunResult run = RunNdhost("--sim-root " + Root() + " --frames 4 --fps 18 --fgfs-udp " +
                            std::to_string(port) + " --png " + png);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  // The message is the first line (a sanitizer build may report after it).
  const std::string message =
      "ndhost: no packet from FlightGear came to 127.0.0.1:" + std::to_string(port) + "\n";
  EXPECT_EQ(run.output.substr(0, message.size()), message);
  EXPECT_EQ(run.output.find("ndhost:", 1), std::string::npos) << run.output;
  // The picture, with "NO FEED" under the display, is saved all the same.
  EXPECT_EQ(folder_.Read("none.png").substr(1, 3), "PNG");
}

TEST_F(FgfsNdhostRun, APortTakenIsAFailure) {
  const platform::Result<std::unique_ptr<ndhost::FgfsReceiver>> holder =
      ndhost::FgfsReceiver::Open(0);
  ASSERT_TRUE(holder) << holder.error().message;
  const std::string port = std::to_string((*holder)->Port());
  RunResult run = RunNdhost("--sim-root " + Root() + " --frames 4 --fgfs-udp " + port);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output,
            "ndhost: cannot listen on 127.0.0.1:" + port + " (UDP): Address already in use\n");
}

TEST(FgfsCommandLine, ThePortIsAWholeNumberAndExcludesFlyingAPlan) {
  platform::Result<ndhost::CommandLine> line =
      ndhost::ParseCommandLine({"--sim-root", "/sim", "--fgfs-udp", "5500", "--window"});
  ASSERT_TRUE(line) << line.error().message;
  EXPECT_EQ(line->fgfsUdpPort, 5500);
  EXPECT_TRUE(line->window);
  line = ndhost::ParseCommandLine({"--sim-root", "/sim", "--fgfs-udp", "65535"});
  ASSERT_TRUE(line) << line.error().message;
  EXPECT_EQ(line->fgfsUdpPort, 65535);
  line = ndhost::ParseCommandLine({"--sim-root", "/sim"});
  ASSERT_TRUE(line) << line.error().message;
  EXPECT_FALSE(line->fgfsUdpPort.has_value());

  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"--fgfs-udp", "0"}, "--fgfs-udp must be a port from 1 to 65535"},
      {{"--fgfs-udp", "65536"}, "--fgfs-udp must be a port from 1 to 65535"},
      {{"--fgfs-udp", "55.5"}, "--fgfs-udp must be a port from 1 to 65535"},
      {{"--fgfs-udp", "port"}, "bad value \"port\" for --fgfs-udp"},
      {{"--fgfs-udp"}, "--fgfs-udp needs a value"},
      {{"--route", "a.pln", "--fly", "--fgfs-udp", "5500"},
       "--fly and --fgfs-udp cannot be used together"},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(entry.error);
    std::vector<std::string> arguments = {"--sim-root", "/sim"};
    arguments.insert(arguments.end(), entry.arguments.begin(), entry.arguments.end());
    const platform::Result<ndhost::CommandLine> refused = ndhost::ParseCommandLine(arguments);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, entry.error);
  }
  EXPECT_NE(ndhost::UsageText().find("[--fgfs-udp PORT]"), std::string::npos);
}

}  // namespace
