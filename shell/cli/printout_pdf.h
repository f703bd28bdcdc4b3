// The printed flight plan as a PDF document: each printout page becomes a
// PDF page, its lines drawn in Liberation Mono at their line numbers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "planner/printout.h"
#include "platform/result.h"

namespace cli {

enum class PaperSize { A4, Letter };

// The PDF bytes of `pages`; fails when Cairo fails or the fixed-pitch font
// is not installed.
platform::Result<std::string> RenderPrintoutPdf(const std::vector<planner::PrintPage>& pages,
                                                PaperSize paper);

// Renders `pages` and replaces `path` atomically with the document; fails
// saying what went wrong, and a failure leaves any old file at `path`
// untouched.
platform::Status WritePrintoutPdf(const std::filesystem::path& path,
                                  const std::vector<planner::PrintPage>& pages, PaperSize paper);

}  // namespace cli
