#include <QImage>

#include <gtest/gtest.h>

#include <vector>

#include "shell/skat/status_icons.h"

namespace {

int OpaquePixels(const QImage& image) {
  int opaque = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 128;
  }
  return opaque;
}

TEST(StatusIcons, EveryIconIsItsOwnDrawingAtEverySize) {
  const std::vector<navdb::StatusIcon> icons = {
      navdb::StatusIcon::Ready,   navdb::StatusIcon::Sorting,   navdb::StatusIcon::Saving,
      navdb::StatusIcon::Problem, navdb::StatusIcon::Selecting, navdb::StatusIcon::Scanning};
  std::vector<QImage> drawn;
  for (navdb::StatusIcon icon : icons) {
    const QIcon qicon = StatusIconImage(icon);
    ASSERT_FALSE(qicon.isNull());
    EXPECT_TRUE(qicon.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(qicon.availableSizes().contains(QSize(32, 32)));
    const QImage image = qicon.pixmap(32, 32).toImage();
    EXPECT_EQ(image.size(), QSize(32, 32));
    // Legible: a good part of the square is drawn, yet it is no filled block.
    const int opaque = OpaquePixels(image);
    EXPECT_GT(opaque, 32 * 32 / 5);
    EXPECT_LT(opaque, 32 * 32);
    drawn.push_back(image);
  }
  drawn.push_back(ApplicationIcon().pixmap(32, 32).toImage());
  for (size_t a = 0; a < drawn.size(); ++a) {
    for (size_t b = a + 1; b < drawn.size(); ++b) EXPECT_NE(drawn[a], drawn[b]) << a << " " << b;
  }
  EXPECT_EQ(ApplicationIconPixmap(48).size(), QSize(48, 48));
}

TEST(StatusIcons, AreDrawnAtTheSizeAskedForNotScaledFromAnother) {
  // 40 and 100 pixels are none of the sizes an icon lists: each is its own
  // drawing, as sharp as the listed ones, and drawn again alike.
  const QIcon application = ApplicationIcon();
  for (int sizePx : {40, 100}) {
    EXPECT_EQ(application.pixmap(sizePx, sizePx).toImage(),
              ApplicationIconPixmap(sizePx).toImage());
  }
  EXPECT_EQ(application.pixmap(40, 40).toImage(), application.pixmap(40, 40).toImage());
  const QIcon ready = StatusIconImage(navdb::StatusIcon::Ready);
  EXPECT_EQ(ready.pixmap(18, 18).toImage(),
            StatusIconPixmap(navdb::StatusIcon::Ready, 18).toImage());
  // A disabled button shows the same drawing, greyed by the style.
  const QImage disabled = ready.pixmap(QSize(18, 18), QIcon::Disabled).toImage();
  EXPECT_EQ(disabled.size(), QSize(18, 18));
  EXPECT_NE(disabled, ready.pixmap(18, 18).toImage());
  EXPECT_GT(OpaquePixels(disabled), 0);
}

}  // namespace
