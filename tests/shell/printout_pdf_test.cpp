#include "shell/cli/printout_pdf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/shell/pdf_pages.h"
#include "tests/support/failure_text.h"
#include "tests/support/temp_folder.h"

namespace cli {
namespace {

using testing_support::PdfPageCount;

std::vector<planner::PrintPage> Pages(int count) {
  std::vector<planner::PrintPage> pages(count);
  for (int p = 0; p < count; ++p) {
    pages[p].lines = {{2, "ND Flight Plan"},
                      {3, std::string(72, '-')},
                      {11, "Runway: 09L/087/11000  (N\xB0/hdg/length)"},
                      {60, std::string(60, ' ') + "page: " + std::to_string(p + 1) + "/.."}};
  }
  return pages;
}

std::string Rendered(const std::vector<planner::PrintPage>& pages, PaperSize paper) {
  const platform::Result<std::string> pdf = RenderPrintoutPdf(pages, paper);
  EXPECT_EQ(FailureText(pdf), "");
  return pdf ? *pdf : std::string();
}

TEST(PrintoutPdfTest, OnePdfPagePerPrintoutPage) {
  EXPECT_EQ(PdfPageCount(Rendered(Pages(1), PaperSize::A4)), 1);
  EXPECT_EQ(PdfPageCount(Rendered(Pages(3), PaperSize::A4)), 3);
}

TEST(PrintoutPdfTest, IsACompletePdfInLiberationMono) {
  const std::string pdf = Rendered(Pages(1), PaperSize::A4);
  EXPECT_TRUE(pdf.starts_with("%PDF-")) << pdf.substr(0, 16);
  EXPECT_TRUE(pdf.ends_with("%%EOF\n"));
  EXPECT_NE(pdf.find("+LiberationMono"), std::string::npos);
  EXPECT_NE(pdf.find("/Title (ND Flight Plan)"), std::string::npos);
}

TEST(PrintoutPdfTest, PaperSizes) {
  EXPECT_NE(Rendered(Pages(1), PaperSize::A4).find("/MediaBox [ 0 0 595.275591 841.889764 ]"),
            std::string::npos);
  EXPECT_NE(Rendered(Pages(1), PaperSize::Letter).find("/MediaBox [ 0 0 612 792 ]"),
            std::string::npos);
}

TEST(PrintoutPdfTest, WriteReplacesTheFile) {
  testing_support::TempFolder folder;
  folder.Write("plan.pdf", "old");
  EXPECT_EQ(FailureText(WritePrintoutPdf(folder / "plan.pdf", Pages(2), PaperSize::A4)), "");
  const std::string written = folder.Read("plan.pdf");
  EXPECT_EQ(PdfPageCount(written), 2);
  EXPECT_TRUE(written.starts_with("%PDF-"));
}

TEST(PrintoutPdfTest, FailedWriteLeavesNoFile) {
  testing_support::TempFolder folder;
  EXPECT_EQ(FailureText(WritePrintoutPdf(folder / "missing" / "plan.pdf", Pages(1), PaperSize::A4)),
            "No such file or directory");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));

  // A folder in the way: the rename fails and the temporary file goes away.
  std::filesystem::create_directory(folder / "plan.pdf");
  EXPECT_EQ(FailureText(WritePrintoutPdf(folder / "plan.pdf", Pages(1), PaperSize::A4)),
            "Is a directory");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "plan.pdf"));
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace cli
