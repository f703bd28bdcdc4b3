#include "shell/skat/plan_printer.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/text_columns.h"
#include "shell/skat/qt_text.h"

namespace {

std::optional<QString> presetPdfFile;
QString lastOfferedPdf;

constexpr int kLeftMargin = 100;

}  // namespace

QFont PrintFontFor(const QPaintDevice& device) {
  QFont font("Liberation Mono");
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  // Points at the device's own resolution, so a printer and a screen image
  // get the same page.
  font.setPixelSize(std::max(1, device.logicalDpiY() * 10 / 72));
  return font;
}

void PaintPrintPage(QPainter& painter, const planner::PrintPage& page) {
  const QFont font = PrintFontFor(*painter.device());
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font, painter.device());
  const int lineHeight = metrics.height();
  for (const planner::PrintLine& line : page.lines) {
    painter.drawText(QPoint(kLeftMargin, line.lineNumber * lineHeight),
                     QStringFromWin1252(line.text));
  }
}

QString SuggestedPdfFile(const planner::PlannerState& plan) {
  QString name = QStringFromWin1252(platform::Trim(plan.plan.planName));
  if (name.isEmpty()) name = QStringFromWin1252(planner::kPrintDocumentName);
  return QString::fromStdString(planner::PlanFolder(plan).string()) + QLatin1Char('/') + name +
         QStringLiteral(".pdf");
}

void OfferPdfFile(QPrinter& printer, const QString& pdfFile) {
  // A ".pdf" name switches the printer to PDF output; back on the native
  // engine the name stays, and the dialog shows it in its file field.
  printer.setOutputFileName(pdfFile);
  printer.setOutputFormat(QPrinter::NativeFormat);
}

PrintOutcome PrintPages(QWidget* parent, const std::vector<planner::PrintPage>& pages,
                        const QString& pdfFile) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromLatin1(planner::kPrintDocumentName.data(),
                                         static_cast<int>(planner::kPrintDocumentName.size())));
  lastOfferedPdf = pdfFile;
  if (presetPdfFile) {
    const QString file = *presetPdfFile;
    presetPdfFile.reset();
    if (file.isEmpty()) return PrintOutcome::Cancelled;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
  } else {
    if (!pdfFile.isEmpty()) OfferPdfFile(printer, pdfFile);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
  }
  QPainter painter;
  if (!printer.isValid() || !painter.begin(&printer)) return PrintOutcome::InitFailed;
  for (size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) printer.newPage();
    PaintPrintPage(painter, pages[p]);
  }
  painter.end();
  return PrintOutcome::Printed;
}

void PrintDialogSeam::setNextPdfFile(const QString& file) {
  presetPdfFile = file;
}

void PrintDialogSeam::clear() {
  presetPdfFile.reset();
  lastOfferedPdf.clear();
}

QString PrintDialogSeam::lastOfferedPdfFile() {
  return lastOfferedPdf;
}
