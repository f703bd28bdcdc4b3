// What the desktop shows of skat: the desktop entry, its icon in the
// hicolor theme and the AppStream metadata, each judged by the tool that
// reads it.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/packaging/command_runner.h"

namespace {

using packaging_test::CommandRun;
using packaging_test::FileBytes;
using packaging_test::Quoted;
using packaging_test::RunCommand;

constexpr int kIconSizesPx[] = {16, 22, 24, 32, 48, 64, 128, 256};

std::string IconPath(const std::string& themeSize, const char* extension) {
  return std::string(SKAT_GENERATED_DIR) + "/icons/hicolor/" + themeSize + "/apps/skat" + extension;
}

// The value of `key` in the desktop entry's text; empty when missing.
std::string EntryValue(const std::string& entry, const std::string& key) {
  std::smatch match;
  const std::regex line("(^|\n)" + key + "=([^\n]*)");
  return std::regex_search(entry, match, line) ? match[2].str() : "";
}

TEST(DesktopEntry, ValidAndStartsTheInstalledProgramWithItsIcon) {
  const std::string path = std::string(SKAT_SOURCE_DIR) + "/packaging/skat.desktop";
  const CommandRun check = RunCommand(Quoted(DESKTOP_FILE_VALIDATE_PATH) + " " + Quoted(path));
  EXPECT_EQ(check.exitCode, 0);
  EXPECT_EQ(check.out + check.err, "");

  const std::string entry = FileBytes(path);
  // Exec names the program by the name it is installed under, found in PATH.
  const std::string exec = EntryValue(entry, "Exec");
  EXPECT_EQ(exec.substr(0, exec.find(' ')), std::filesystem::path(SKAT_PATH).filename().string());
  EXPECT_EQ(EntryValue(entry, "Icon"), "skat");
  EXPECT_EQ(EntryValue(entry, "Type"), "Application");
  EXPECT_EQ(EntryValue(entry, "Terminal"), "false");
}

TEST(AppStream, MetadataValidWithTheReadmePicturesAsScreenshots) {
  const std::string path = std::string(SKAT_GENERATED_DIR) + "/org.skyatlas.skat.metainfo.xml";
  const CommandRun check =
      RunCommand(Quoted(APPSTREAMCLI_PATH) + " validate --no-net --pedantic " + Quoted(path));
  EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
  const std::regex finding("(^|\n)[EWIP]: ");
  EXPECT_FALSE(std::regex_search(check.out + check.err, finding)) << check.out << check.err;

  const std::string metainfo = FileBytes(path);
  EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">skat.desktop</launchable>"),
            std::string::npos);
  EXPECT_NE(metainfo.find("<release version=\"" SKAT_VERSION "\" date=\"20"), std::string::npos);
  for (const char* program : {"skat", "skat-cli", "ndhost"}) {
    EXPECT_NE(metainfo.find("<binary>" + std::string(program) + "</binary>"), std::string::npos);
  }

  // One screenshot per picture of skat in the README, in its order, the
  // first the default one, each a picture the repository holds.
  const std::string readme = FileBytes(std::string(SKAT_SOURCE_DIR) + "/README.md");
  const std::regex picture(R"(!\[([^\]]+)\]\((shell/skat/pictures/[a-z0-9-]+\.png)\))");
  std::vector<std::string> readmePictures;
  for (auto it = std::sregex_iterator(readme.begin(), readme.end(), picture);
       it != std::sregex_iterator(); ++it) {
    readmePictures.push_back((*it)[2].str());
  }
  ASSERT_FALSE(readmePictures.empty());
  const std::regex image("<image>[^<]*/(shell/skat/pictures/[^<]+)</image>");
  std::vector<std::string> screenshots;
  for (auto it = std::sregex_iterator(metainfo.begin(), metainfo.end(), image);
       it != std::sregex_iterator(); ++it) {
    screenshots.push_back((*it)[1].str());
  }
  EXPECT_EQ(screenshots, readmePictures);
  for (const std::string& screenshot : screenshots) {
    EXPECT_TRUE(std::filesystem::is_regular_file(std::string(SKAT_SOURCE_DIR) + "/" + screenshot))
        << screenshot;
  }
  EXPECT_NE(metainfo.find("<screenshot type=\"default\">\n      <caption>NDBs</caption>"),
            std::string::npos);
}

// The share of channel values of two pictures that differ by more than
// `toleranceLevels`.
double DifferingShare(const QImage& a, const QImage& b, int toleranceLevels) {
  long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      for (int shift : {0, 8, 16, 24}) {
        if (std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff)) > toleranceLevels) {
          ++differing;
        }
      }
    }
  }
  return double(differing) / (4.0 * a.width() * a.height());
}

TEST(Icon, EveryThemeSizeAndTheScalableIconShowTheSameRoundDial) {
  QImage largest;
  for (int sizePx : kIconSizesPx) {
    SCOPED_TRACE(sizePx);
    const QString path = QString::fromStdString(
        IconPath(std::to_string(sizePx) + "x" + std::to_string(sizePx), ".png"));
    QImage icon(path);
    ASSERT_FALSE(icon.isNull());
    // The theme finds a size by its folder: the picture must have it.
    EXPECT_EQ(icon.size(), QSize(sizePx, sizePx));
    icon = icon.convertToFormat(QImage::Format_ARGB32);
    // A round dial: clear corners, an opaque middle.
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(sizePx - 1, sizePx - 1)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(sizePx / 2, sizePx / 2)), 255);
    largest = icon;
  }

  // The SVG, drawn by another renderer than the one that wrote it, shows
  // the same picture as the largest PNG.
  const std::string svgPath = IconPath("scalable", ".svg");
  EXPECT_NE(FileBytes(svgPath).find("viewBox=\"0 0 256 256\""), std::string::npos);
  QSvgRenderer svg(QString::fromStdString(svgPath));
  ASSERT_TRUE(svg.isValid());
  QImage drawn(largest.size(), QImage::Format_ARGB32);
  drawn.fill(Qt::transparent);
  {
    QPainter painter(&drawn);
    svg.render(&painter);
  }
  EXPECT_LT(DifferingShare(drawn, largest, 16), 0.01);
}

}  // namespace
