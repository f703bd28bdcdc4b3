// The printed flight plan as a PDF document: each printout page becomes a
// PDF page, its lines drawn in Liberation Mono at their line numbers.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "planner/printout.h"

namespace cli {

enum class PaperSize { A4, Letter };

// The PDF bytes of `pages`, or nothing with `error` set when Cairo fails or
// the fixed-pitch font is not installed.
std::optional<std::string> RenderPrintoutPdf(const std::vector<planner::PrintPage>& pages,
                                             PaperSize paper, std::string& error);

// Renders `pages` and replaces `path` atomically with the document. Returns
// an empty text on success, else what went wrong; a failure leaves any old
// file at `path` untouched.
std::string WritePrintoutPdf(const std::filesystem::path& path,
                             const std::vector<planner::PrintPage>& pages, PaperSize paper);

}  // namespace cli
