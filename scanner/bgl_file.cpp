#include "scanner/bgl_file.h"

#include "navdb/ui_callbacks.h"
#include "platform/file_bytes.h"
#include "scanner/bgl_decoder.h"
#include "scanner/merge.h"
#include "scanner/packed_file.h"

namespace scanner {
namespace {

using navdb::MessageAnswer;
using navdb::MessageButtons;
using navdb::MessageIcon;

FileOutcome AskNextFile(ScanSession& session, const std::string& text) {
  const MessageAnswer answer =
      navdb::ShowMessage(session.ui, "Error", text, MessageIcon::Error, MessageButtons::YesNo);
  return answer == MessageAnswer::Yes ? FileOutcome::NextFile : FileOutcome::StopScan;
}

FileOutcome ReportReadFailure(ScanSession& session, platform::ReadStep step,
                              const std::string& path, const std::string& error) {
  switch (step) {
    case platform::ReadStep::Open:
      return AskNextFile(session,
                         "Could not open " + path + "\r\r" + error + "\r\rTry next BGL file ?\n");
    case platform::ReadStep::Size:
      return AskNextFile(session, "File mapping failed for " + path + "\r\r" + error +
                                      "\r\rTry next BGL file ?\n");
    default:
      // The file failed while it was read (it shrank, or the device failed):
      // only this file is lost, so the scan goes on with the next one.
      navdb::ShowMessage(session.ui, "Error", "Could not map file " + path + "\r\r" + error + "\n",
                         MessageIcon::Error, MessageButtons::Ok);
      return FileOutcome::NextFile;
  }
}

// A packed file's stored bytes are a bit stream behind its header: decoded
// as they stand they could pass compressed bytes off as navaids, so a file
// laid out as packed is decoded from its unpacked image only.
ImageResult ScanFileBytes(ScanSession& session, std::span<const uint8_t> bytes) {
  if (PackedHeaderSize(bytes) == 0) return ScanBglImage(session, bytes);
  UnpackedImage image;
  if (UnpackBglBytes(bytes, &image) != kUnpackOk) return ImageResult::Unreadable;
  const ImageResult result = ScanBglImage(session, image.view());
  ReleaseUnpackedImage(image);
  return result;
}

}  // namespace

FileOutcome ScanBglFile(ScanSession& session, const std::filesystem::path& path) {
  const std::string pathText = path.string();
  std::vector<uint8_t> bytes;
  std::string error;
  const platform::ReadStep step =
      platform::ReadFileBytes(path, kMaxSceneryFileBytes, bytes, error, [&] {
        if (session.afterFileSized) session.afterFileSized(path);
      });
  if (step != platform::ReadStep::None) return ReportReadFailure(session, step, pathText, error);

  // The counts of the file's navaids are told when the file is done.
  const ImageResult result = [&] {
    const MergeNoticeBatch batch(session);
    return ScanFileBytes(session, bytes);
  }();
  if (result == ImageResult::StopScan) return FileOutcome::StopScan;
  if (result == ImageResult::Done) return FileOutcome::NextFile;
  const MessageAnswer answer = navdb::ShowMessage(
      session.ui, "Error",
      "The BGL file \"" + pathText + "\" contains unrecognized data.\nIt will be ignored !" +
          "\n\nContinue with next file ?",
      MessageIcon::Error, MessageButtons::YesNo);
  return answer == MessageAnswer::Yes ? FileOutcome::NextFile : FileOutcome::StopScan;
}

}  // namespace scanner
