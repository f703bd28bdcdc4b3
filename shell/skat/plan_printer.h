// Printing the flight plan: Qt's print dialog and QPrinter (which also
// writes PDF), the printout pages drawn line by line in a fixed-pitch font.
#pragma once

#include <QFont>
#include <QString>

#include <optional>
#include <vector>

#include "planner/flight_plan.h"
#include "planner/printout.h"

class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

// The printout font: Liberation Mono, the metric twin of Courier New, at 10
// points of the device's resolution.
QFont PrintFontFor(const QPaintDevice& device);

// Draws one page: line n at n times the font's line height, from x = 100
// device units inside the printable area.
void PaintPrintPage(QPainter& painter, const planner::PrintPage& page);

enum class PrintOutcome { Printed, Cancelled, InitFailed };

// The PDF file printing to a file offers: the plan's name with ".pdf" in
// the plan's folder.
QString SuggestedPdfFile(const planner::PlannerState& plan);

// Makes `pdfFile` the file the print dialog's "Print to File (PDF)" offers,
// while a printer, when there is one, stays the dialog's first choice.
void OfferPdfFile(QPrinter& printer, const QString& pdfFile);

// The dialog's Print button: the print dialog owned by `parent`, offering
// `pdfFile` for a PDF, then the pages. InitFailed when no printer could be
// set up (the caller tells the user).
PrintOutcome PrintPages(QWidget* parent, const std::vector<planner::PrintPage>& pages,
                        const QString& pdfFile = {});

class PrintDialogSeam {
 public:
  // The next PrintPages prints to the PDF file `file` without showing the
  // print dialog; an empty text cancels, as the dialog's Cancel does.
  static void setNextPdfFile(const QString& file);
  static void clear();
  // The PDF file the last PrintPages offered.
  static QString lastOfferedPdfFile();
};
