#include "command_line.h"

#include <gtest/gtest.h>

namespace ndhost {
namespace {

TEST(CommandLine, FullLine) {
  const platform::Result<CommandLine> line = ParseCommandLine(
      {"--sim-root", "/sim",     "--format",  "2",       "--frames",
       "30",         "--png",    "out.png",   "--lat",   "48.5",
       "--lon",      "-2.25",    "--heading", "270",     "--nav1",
       "PGS",        "--wind",   "250/15",    "--route", "a.pln",
       "--route-at", "40:b.pln", "--fly",     "--keys",  "5:shift+G,7:ctrl+shift+m,9:tab,11:#57",
       "--report"});
  ASSERT_TRUE(line) << line.error().message;
  EXPECT_EQ(line->simulatorRoot, "/sim");
  EXPECT_EQ(line->formatCode, 2u);
  EXPECT_EQ(line->frames, 30);
  EXPECT_EQ(line->pngPath, "out.png");
  EXPECT_DOUBLE_EQ(*line->latitudeDeg, 48.5);
  EXPECT_DOUBLE_EQ(*line->longitudeDeg, -2.25);
  EXPECT_DOUBLE_EQ(line->headingDeg, 270);
  EXPECT_EQ(line->nav1Ident, "PGS");
  EXPECT_DOUBLE_EQ(line->windDirectionDeg, 250);
  EXPECT_DOUBLE_EQ(line->windSpeedKt, 15);
  EXPECT_TRUE(line->flyRoute);
  ASSERT_EQ(line->laterRoutes.size(), 1u);
  EXPECT_EQ(line->laterRoutes[0].frame, 40);
  EXPECT_EQ(line->laterRoutes[0].planPath, "b.pln");
  ASSERT_EQ(line->laterRoutes.size(), 1u);
  EXPECT_EQ(line->laterRoutes[0].frame, 40);
  EXPECT_EQ(line->laterRoutes[0].planPath, "b.pln");
  EXPECT_TRUE(line->report);
  ASSERT_EQ(line->keys.size(), 4u);
  EXPECT_EQ(line->keys[0].frame, 5);
  EXPECT_EQ(line->keys[0].virtualKey, static_cast<uint32_t>('G'));
  EXPECT_TRUE(line->keys[0].shift);
  EXPECT_FALSE(line->keys[0].ctrl);
  EXPECT_EQ(line->keys[1].virtualKey, static_cast<uint32_t>('M'));
  EXPECT_TRUE(line->keys[1].ctrl);
  EXPECT_EQ(line->keys[2].virtualKey, 9u);
  EXPECT_EQ(line->keys[3].virtualKey, 57u);
}

TEST(CommandLine, UsageErrors) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "--sim-root is required"},
      {{"--sim-root"}, "--sim-root needs a value"},
      {{"--sim-root", "/s", "--format", "3"}, "--format must be 1 or 2"},
      {{"--sim-root", "/s", "--frames", "0"}, "--frames must be from 1 to 1000000000"},
      {{"--sim-root", "/s", "--frames", "1e12"}, "--frames must be from 1 to 1000000000"},
      {{"--sim-root", "/s", "--fps", "nan"}, "bad value \"nan\" for --fps"},
      {{"--sim-root", "/s", "--keys", "7777777777:G"},
       "bad key \"7777777777:G\": expected FRAME:KEY"},
      {{"--sim-root", "/s", "--keys", "1.5:G"}, "bad key \"1.5:G\": expected FRAME:KEY"},
      {{"--sim-root", "/s", "--lat", "4"}, "--lat and --lon go together"},
      {{"--sim-root", "/s", "--heading", "x"}, "bad value \"x\" for --heading"},
      {{"--sim-root", "/s", "--bogus"}, "unknown option --bogus"},
      {{"--sim-root", "/s", "--keys", "G"}, "bad key \"G\": expected FRAME:KEY"},
      {{"--sim-root", "/s", "--keys", "3:shift+escape"}, "unknown key name \"escape\""},
      {{"--sim-root", "/s", "--wind", "250"}, "bad value \"250\" for --wind"},
      {{"--sim-root", "/s", "--route-at", "x.pln"}, "bad value \"x.pln\" for --route-at"},
      {{"--sim-root", "/s", "--route-at", "x.pln"}, "bad value \"x.pln\" for --route-at"},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.message);
    const platform::Result<CommandLine> refused = ParseCommandLine(testCase.arguments);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, testCase.message);
  }
}

TEST(CommandLine, HelpInThePlaceOfAnOption) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, {"-h"}, {"--sim-root", "/s", "--help", "--bogus"}}) {
    const platform::Result<CommandLine> line = ParseCommandLine(arguments);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->help);
  }
  const platform::Result<CommandLine> line =
      ParseCommandLine({"--nav1", "--help", "--sim-root", "/s"});
  ASSERT_TRUE(line);
  EXPECT_FALSE(line->help);
  EXPECT_EQ(line->nav1Ident, "--help");
}

TEST(CommandLine, KeyNames) {
  const platform::Result<std::vector<ScheduledKey>> keys =
      ParseKeyList("0:f1,1:space,2:Shift+Ctrl+x,3:7");
  ASSERT_TRUE(keys) << keys.error().message;
  EXPECT_EQ((*keys)[0].virtualKey, 0x70u);
  EXPECT_EQ((*keys)[1].virtualKey, 0x20u);
  EXPECT_EQ((*keys)[2].virtualKey, static_cast<uint32_t>('X'));
  EXPECT_TRUE((*keys)[2].shift && (*keys)[2].ctrl);
  EXPECT_EQ((*keys)[3].virtualKey, static_cast<uint32_t>('7'));
  EXPECT_EQ(ParseKeyList("1:#0").error().message, "unknown key name \"#0\"");
  EXPECT_EQ(ParseKeyList("1:f13").error().message, "unknown key name \"f13\"");
  EXPECT_EQ(ParseKeyList("-1:G").error().message, "bad key \"-1:G\": expected FRAME:KEY");
}

}  // namespace
}  // namespace ndhost

namespace ndhost {
namespace {

TEST(CommandLine, FlightAndRadioOptions) {
  const platform::Result<CommandLine> line = ParseCommandLine(
      {"--sim-root", "/s",
       "--alt",      "3500",
       "--nav1",     "110.30",
       "--course",   "254",
       "--nav2",     "RBT",
       "--adf",      "349",
       "--dme",      "7.4",
       "--png-at",   "12:a.png",
       "--png-at",   "30:b:c.png",
       "--trace",    "6",
       "--keys",     "1:left,2:Right,3:up,4:down,5:pgup,6:pgdn,7:enter,8:shift+f5"});
  ASSERT_TRUE(line) << line.error().message;
  EXPECT_DOUBLE_EQ(line->altitudeFt, 3500);
  EXPECT_EQ(line->nav1Ident, "110.30");
  EXPECT_DOUBLE_EQ(line->nav1CourseDeg.value_or(-1), 254);
  EXPECT_EQ(line->nav2Ident, "RBT");
  EXPECT_EQ(line->adfIdent, "349");
  EXPECT_DOUBLE_EQ(line->dmeNm.value_or(-1), 7.4);
  EXPECT_FALSE(line->adfBearingDeg.has_value());
  EXPECT_FALSE(line->marker.has_value());
  ASSERT_EQ(line->pictures.size(), 2u);
  EXPECT_EQ(line->pictures[0].frame, 12);
  EXPECT_EQ(line->pictures[1].pngPath, "b:c.png");
  EXPECT_EQ(line->traceEvery, 6);
  std::vector<uint32_t> codes;
  for (const ScheduledKey& key : line->keys) codes.push_back(key.virtualKey);
  EXPECT_EQ(codes, (std::vector<uint32_t>{0x25, 0x27, 0x26, 0x28, 0x21, 0x22, 0x0D, 0x74}));
  EXPECT_TRUE(line->keys[7].shift);

  for (const auto& [arguments, message] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--sim-root", "/s", "--png-at", "a.png"}, "bad value \"a.png\" for --png-at"},
           {{"--sim-root", "/s", "--png-at", "3:"}, "bad value \"3:\" for --png-at"},
           {{"--sim-root", "/s", "--trace", "1.5"}, "--trace must be a whole number of frames"},
           {{"--sim-root", "/s", "--alt", "high"}, "bad value \"high\" for --alt"},
           {{"--sim-root", "/s", "--course", ""}, "bad value \"\" for --course"},
           {{"--sim-root", "/s", "--keys", "1:pageup"}, "unknown key name \"pageup\""}}) {
    SCOPED_TRACE(message);
    const platform::Result<CommandLine> refused = ParseCommandLine(arguments);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, message);
  }
}

}  // namespace
}  // namespace ndhost
