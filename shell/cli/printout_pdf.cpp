#include "shell/cli/printout_pdf.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>

#include <memory>
#include <string_view>

#include "platform/file_io.h"
#include "platform/win1252.h"

namespace cli {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr std::string_view kFontFamily = "Liberation Mono";
// 10 points keeps the widest printout line (about 80 columns) and the 61
// line heights of a full page inside both A4 and Letter.
constexpr double kFontSizePt = 10.0;
// A printer cannot print the outer quarter inch, so its line 0 and column
// 0 start there; the text itself starts 100 device units further right,
// which is a sixth of an inch on a 600 dpi printer.
constexpr double kPrintableOffsetPt = kPointsPerInch / 4;
constexpr double kTextLeftPt = kPrintableOffsetPt + 100.0 / 600.0 * kPointsPerInch;

struct PaperPoints {
  double widthPt;
  double heightPt;
};

PaperPoints PointsOf(PaperSize paper) {
  if (paper == PaperSize::Letter) return {8.5 * kPointsPerInch, 11 * kPointsPerInch};
  return {210 / 25.4 * kPointsPerInch, 297 / 25.4 * kPointsPerInch};
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int lengthBytes) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), lengthBytes);
  return CAIRO_STATUS_SUCCESS;
}

// Fontconfig quietly substitutes another face for a missing one; the
// columns only line up in the fixed-pitch face, so a substitute is an error.
platform::Status SelectPrintFont(cairo_t* cairo) {
  cairo_select_font_face(cairo, std::string(kFontFamily).c_str(), CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, kFontSizePt);
  cairo_scaled_font_t* font = cairo_get_scaled_font(cairo);
  std::string family;
  if (cairo_scaled_font_status(font) == CAIRO_STATUS_SUCCESS &&
      cairo_scaled_font_get_type(font) == CAIRO_FONT_TYPE_FT) {
    if (FT_Face face = cairo_ft_scaled_font_lock_face(font)) {
      if (face->family_name != nullptr) family = face->family_name;
      cairo_ft_scaled_font_unlock_face(font);
    }
  }
  if (family != kFontFamily) {
    return platform::Failure(
        "the font Liberation Mono is not installed (Debian package fonts-liberation)");
  }
  return {};
}

// Line n of a page goes at n character heights below the printable top,
// with the line's top on that height as a printer places text.
void DrawPage(cairo_t* cairo, const planner::PrintPage& page) {
  cairo_font_extents_t extents;
  cairo_font_extents(cairo, &extents);
  const double lineHeightPt = extents.ascent + extents.descent;
  cairo_set_source_rgb(cairo, 0, 0, 0);
  for (const planner::PrintLine& line : page.lines) {
    const double topPt = kPrintableOffsetPt + line.lineNumber * lineHeightPt;
    cairo_move_to(cairo, kTextLeftPt, topPt + extents.ascent);
    cairo_show_text(cairo, platform::Win1252ToUtf8(line.text).c_str());
  }
  cairo_show_page(cairo);
}

platform::Error CairoError(cairo_status_t status) {
  return platform::Failure(std::string("cannot draw the PDF: ") + cairo_status_to_string(status));
}

}  // namespace

platform::Result<std::string> RenderPrintoutPdf(const std::vector<planner::PrintPage>& pages,
                                                PaperSize paper) {
  std::string bytes;
  const PaperPoints size = PointsOf(paper);
  Surface surface(
      cairo_pdf_surface_create_for_stream(AppendBytes, &bytes, size.widthPt, size.heightPt),
      cairo_surface_destroy);
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                 std::string(planner::kPrintDocumentName).c_str());
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "skat-cli");
  Context cairo(cairo_create(surface.get()), cairo_destroy);
  if (cairo_status(cairo.get()) != CAIRO_STATUS_SUCCESS)
    return CairoError(cairo_status(cairo.get()));
  if (platform::Status font = SelectPrintFont(cairo.get()); !font) return font.error();
  for (const planner::PrintPage& page : pages) DrawPage(cairo.get(), page);
  if (const cairo_status_t status = cairo_status(cairo.get()); status != CAIRO_STATUS_SUCCESS) {
    return CairoError(status);
  }
  cairo.reset();
  cairo_surface_finish(surface.get());
  if (const cairo_status_t status = cairo_surface_status(surface.get());
      status != CAIRO_STATUS_SUCCESS) {
    return CairoError(status);
  }
  return bytes;
}

platform::Status WritePrintoutPdf(const std::filesystem::path& path,
                                  const std::vector<planner::PrintPage>& pages, PaperSize paper) {
  const platform::Result<std::string> bytes = RenderPrintoutPdf(pages, paper);
  if (!bytes) return bytes.error();
  const platform::Status written = platform::ReplaceFileAtomically(path, *bytes);
  if (!written.ok()) return written.error();
  return {};
}

}  // namespace cli
