#include "shell/skat/map_export.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cairo.h>

#include "map/png_file.h"

namespace {

struct Seam {
  bool preset = false;
  std::optional<ExportChoice> choice;
};

Seam& TheSeam() {
  static Seam seam;
  return seam;
}

QSpinBox* SideBox(QWidget* parent, int valuePx, const QString& name) {
  auto* box = new QSpinBox(parent);
  box->setRange(kMinExportSidePx, kMaxExportSidePx);
  box->setValue(std::clamp(valuePx, kMinExportSidePx, kMaxExportSidePx));
  box->setSuffix(" px");
  box->setAccessibleName(name);
  box->setObjectName(name);
  return box;
}

// The size dialog: the view's size or another one.
std::optional<QSize> AskSize(QWidget* parent, QSize viewSize) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Export picture");
  dialog.setAccessibleName(dialog.windowTitle());
  auto* layout = new QVBoxLayout(&dialog);
  auto* viewSizeChoice = new QRadioButton(
      QString("The view's size (%1 x %2 pixels)").arg(viewSize.width()).arg(viewSize.height()),
      &dialog);
  auto* otherChoice = new QRadioButton("Another size:", &dialog);
  for (QRadioButton* choice : {viewSizeChoice, otherChoice})
    choice->setAccessibleName(choice->text());
  viewSizeChoice->setChecked(true);
  layout->addWidget(viewSizeChoice);
  layout->addWidget(otherChoice);
  auto* sides = new QFormLayout;
  QSpinBox* width = SideBox(&dialog, viewSize.width(), "Width");
  QSpinBox* height = SideBox(&dialog, viewSize.height(), "Height");
  sides->addRow("Width", width);
  sides->addRow("Height", height);
  layout->addLayout(sides);
  for (QSpinBox* box : {width, height}) {
    box->setEnabled(false);
    QObject::connect(otherChoice, &QRadioButton::toggled, box, &QWidget::setEnabled);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (viewSizeChoice->isChecked()) return viewSize;
  return QSize(width->value(), height->value());
}

}  // namespace

void ExportChoiceSeam::setNextChoice(std::optional<ExportChoice> choice) {
  TheSeam() = {true, std::move(choice)};
}

void ExportChoiceSeam::clear() {
  TheSeam() = {};
}

std::optional<ExportChoice> AskExportChoice(QWidget* parent, QSize viewSize) {
  if (TheSeam().preset) {
    Seam taken = std::exchange(TheSeam(), {});
    return taken.choice;
  }
  const std::optional<QSize> size = AskSize(parent, viewSize);
  if (!size) return std::nullopt;
  QString file = QFileDialog::getSaveFileName(
      parent, "Export picture", QDir::home().filePath("map.png"), "PNG picture (*.png)");
  if (file.isEmpty()) return std::nullopt;
  if (!file.endsWith(".png", Qt::CaseInsensitive)) file += ".png";
  return ExportChoice{file, *size};
}

navmap::MapView ViewAtSize(const navmap::MapView& view, QSize size) {
  return navmap::ViewOfRange(view.centreLatDeg, view.centreLonDeg, navmap::RangeNm(view),
                             size.width(), size.height());
}

std::optional<std::string> WriteMapPicture(const MapRequest& request, const QString& file) {
  MapPicture picture = DrawMapPicture(request);
  if (picture.image.isNull()) {
    return "a picture of " + std::to_string(request.view.widthPx) + " x " +
           std::to_string(request.view.heightPx) + " pixels does not fit in memory";
  }
  QImage& image = picture.image;
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_RGB24, image.width(),
                                          image.height(), static_cast<int>(image.bytesPerLine()));
  const platform::Status written =
      navmap::WritePngFile(QFile::encodeName(file).toStdString(), surface);
  cairo_surface_destroy(surface);
  if (!written) return written.error().message;
  return std::nullopt;
}
