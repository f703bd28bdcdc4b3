#include "scanner/bgl_file.h"

#include "navdb/ui_callbacks.h"
#include "platform/mapped_file.h"
#include "scanner/bgl_decoder.h"
#include "scanner/packed_file.h"

namespace scanner {
namespace {

using navdb::MessageAnswer;
using navdb::MessageButtons;
using navdb::MessageIcon;

int AskNextFile(ScanSession& session, const std::string& text) {
  const MessageAnswer answer =
      navdb::ShowMessage(session.ui, "Error", text, MessageIcon::Error, MessageButtons::YesNo);
  return answer == MessageAnswer::Yes ? 0 : -1;
}

int ReportMapFailure(ScanSession& session, platform::MapStep step, const std::string& path,
                     const std::string& error) {
  switch (step) {
    case platform::MapStep::Open:
      return AskNextFile(session,
                         "Could not open " + path + "\r\r" + error + "\r\rTry next BGL file ?\n");
    case platform::MapStep::Mapping:
      return AskNextFile(session, "File mapping failed for " + path + "\r\r" + error +
                                      "\r\rTry next BGL file ?\n");
    default:
      navdb::ShowMessage(session.ui, "Error", "Could not map file " + path + "\r\r" + error + "\n",
                         MessageIcon::Error, MessageButtons::Ok);
      return -1;
  }
}

// A packed file decodes as a (nearly) empty image when its section offsets
// point beyond or into its packed bytes; its block mark still shows that
// there is an image to unpack, so it is unpacked as well.
bool LaidOutAsPacked(std::span<const uint8_t> bytes) {
  return PackedHeaderSize(bytes) != 0;
}

}  // namespace

int ScanBglFile(ScanSession& session, const std::filesystem::path& path) {
  const std::string pathText = path.string();
  platform::MappedFile file;
  std::string error;
  const platform::MapStep step = file.Map(path, error);
  if (step != platform::MapStep::None) return ReportMapFailure(session, step, pathText, error);

  ImageResult result = ScanBglImage(session, file.bytes());
  if (result == ImageResult::StopScan) return 1;
  if (result == ImageResult::Done && !LaidOutAsPacked(file.bytes())) return 0;
  file.Release();

  UnpackedImage image;
  result = ImageResult::Unreadable;
  if (UnpackBglFile(path, &image) == kUnpackOk) {
    result = ScanBglImage(session, image.view());
    ReleaseUnpackedImage(image);
  }
  if (result == ImageResult::StopScan) return 1;
  if (result == ImageResult::Done) return 0;
  const MessageAnswer answer = navdb::ShowMessage(
      session.ui, "Error",
      "The BGL file \"" + pathText + "\" contains unrecognized data.\nIt will be ignored !" +
          "\n\nContinue with next file ?",
      MessageIcon::Error, MessageButtons::YesNo);
  return answer == MessageAnswer::Yes ? 0 : 1;
}

}  // namespace scanner
