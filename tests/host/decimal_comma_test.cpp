// The host reads numbers with a decimal point whatever the locale of the
// process says: the window's Qt takes the locale from the environment, and
// where that writes decimals with a comma, C's strtod reads "7.4" as 7.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "command_line.h"
#include "station_finder.h"
#include "tests/support/database_writer.h"

namespace ndhost {
namespace {

// Switches the process to a locale whose decimal separator is a comma, and
// back at the end.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    saved_ = current != nullptr ? current : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

  bool Active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

TEST(DecimalComma, OptionsStationsAndFrequenciesKeepTheirDecimals) {
  DecimalCommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma (de_DE.UTF-8) installed";
  ASSERT_EQ(std::strtod("7.4", nullptr), 7.0) << "the comma locale is not in force";

  const platform::Result<CommandLine> line =
      ParseCommandLine({"--sim-root", "/s", "--dme", "7.4", "--lat", "48.85", "--lon", "-2.35",
                        "--wind", "175.5/12.5"});
  ASSERT_TRUE(line) << line.error().message;
  EXPECT_EQ(line->dmeNm, 7.4);
  EXPECT_EQ(line->latitudeDeg, 48.85);
  EXPECT_EQ(line->longitudeDeg, -2.35);
  EXPECT_EQ(line->windDirectionDeg, 175.5);
  EXPECT_EQ(line->windSpeedKt, 12.5);
  EXPECT_FALSE(ParseCommandLine({"--sim-root", "/s", "--dme", "7,4"}));

  // A VOR whose variation has tenths, read from its database line.
  gauge_test::DatabaseFiles files = gauge_test::BuildDatabase({{'V', "PGS", 48.95, 2.4}});
  const size_t variationAt = files.vor.find("01.0\r\n");
  ASSERT_NE(variationAt, std::string::npos);
  files.vor.replace(variationAt, 4, "02.5");
  StationFinder finder;
  EXPECT_TRUE(finder.LoadFileBytes(files.vor, "", "", "/NavData").problems.empty());
  ASSERT_EQ(finder.Stations().size(), 1u);
  EXPECT_EQ(finder.Stations()[0].variationDeg, 2.5);
  EXPECT_DOUBLE_EQ(finder.Stations()[0].frequency, 113.9);

  // Tuned by a frequency text, as --nav1 110.30 and the window's entry give it.
  const Station* tuned = finder.Find(Band::Nav, "113.90", {48.9, 2.4});
  ASSERT_NE(tuned, nullptr);
  EXPECT_EQ(tuned->ident, "PGS");
  EXPECT_EQ(finder.Find(Band::Nav, "113.80", {48.9, 2.4}), nullptr);
}

}  // namespace
}  // namespace ndhost
