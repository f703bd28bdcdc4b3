// Writes the icon files of the desktop entry from the window's own icon
// drawing (PaintApplicationIcon): the PNG sizes of the hicolor theme and the
// scalable SVG, as OUT/hicolor/<size>x<size>/apps/skat.png and
// OUT/hicolor/scalable/apps/skat.svg.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shell/skat/status_icons.h"

namespace {

constexpr int kPngSizesPx[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kSvgSizePx = 256;

std::filesystem::path IconPath(const std::filesystem::path& out, const std::string& themeSize,
                               const char* extension) {
  return out / "hicolor" / themeSize / "apps" / (std::string("skat") + extension);
}

bool MakeFolder(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (!error) return true;
  std::fprintf(stderr, "skat_make_icons: cannot make %s: %s\n", file.parent_path().c_str(),
               error.message().c_str());
  return false;
}

bool WritePng(const std::filesystem::path& out, int sizePx) {
  const std::string themeSize = std::to_string(sizePx) + "x" + std::to_string(sizePx);
  const std::filesystem::path file = IconPath(out, themeSize, ".png");
  if (!MakeFolder(file)) return false;
  QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    PaintApplicationIcon(painter, sizePx);
  }
  if (image.save(QString::fromStdString(file.string()), "PNG")) return true;
  std::fprintf(stderr, "skat_make_icons: cannot write %s\n", file.c_str());
  return false;
}

bool WriteSvg(const std::filesystem::path& out) {
  const std::filesystem::path file = IconPath(out, "scalable", ".svg");
  if (!MakeFolder(file)) return false;
  QSvgGenerator svg;
  svg.setFileName(QString::fromStdString(file.string()));
  svg.setSize(QSize(kSvgSizePx, kSvgSizePx));
  svg.setViewBox(QRect(0, 0, kSvgSizePx, kSvgSizePx));
  svg.setResolution(96);
  svg.setTitle(QStringLiteral("skat"));
  svg.setDescription(QStringLiteral("A navigation display: compass rose in a heading ring"));
  QPainter painter;
  if (!painter.begin(&svg)) {
    std::fprintf(stderr, "skat_make_icons: cannot write %s\n", file.c_str());
    return false;
  }
  PaintApplicationIcon(painter, kSvgSizePx);
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skat_make_icons OUT\n");
    return 2;
  }
  // Drawing needs no screen; the build may run where there is none.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  const std::filesystem::path out = argv[1];
  for (int sizePx : kPngSizesPx) {
    if (!WritePng(out, sizePx)) return 1;
  }
  return WriteSvg(out) ? 0 : 1;
}
