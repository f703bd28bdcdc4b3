#include "scanner/bgl_file.h"

#include "navdb/reporter.h"
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

FileOutcome ReportReadFailure(ScanSession& session, const platform::ReadError& failure,
                              const std::string& path) {
  const std::string& error = failure.message;
  switch (failure.step) {
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
DecodedImage DecodeFileBytes(std::span<const uint8_t> bytes, unsigned minRunwayLengthFt) {
  if (PackedHeaderSize(bytes) == 0) return DecodeBglImage(bytes, minRunwayLengthFt);
  UnpackedImage image;
  if (UnpackBglBytes(bytes, &image) != UnpackStatus::Ok) {
    DecodedImage nothing;
    nothing.unreadable = true;
    return nothing;
  }
  DecodedImage decoded = DecodeBglImage(image.View(), minRunwayLengthFt);
  ReleaseUnpackedImage(image);
  return decoded;
}

}  // namespace

DecodedFile DecodeBglFile(const std::filesystem::path& path, unsigned minRunwayLengthFt,
                          const std::function<void(const std::filesystem::path&)>& afterFileSized) {
  DecodedFile file;
  const platform::Result<std::vector<uint8_t>, platform::ReadError> bytes =
      platform::ReadFileBytes(path, kMaxSceneryFileBytes, [&] {
        if (afterFileSized) afterFileSized(path);
      });
  if (bytes) {
    file.image = DecodeFileBytes(*bytes, minRunwayLengthFt);
  } else {
    file.readFailure = bytes.error();
  }
  return file;
}

FileOutcome MergeBglFile(ScanSession& session, const std::filesystem::path& path,
                         const DecodedFile& file) {
  const std::string pathText = path.string();
  if (file.readFailure) return ReportReadFailure(session, *file.readFailure, pathText);
  // The counts of the file's navaids are told when the file is done.
  const ImageResult result = [&] {
    const MergeNoticeBatch batch(session);
    return MergeDecodedImage(session, file.image, pathText);
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

FileOutcome ScanBglFile(ScanSession& session, const std::filesystem::path& path) {
  return MergeBglFile(session, path,
                      DecodeBglFile(path, session.minRunwayLengthFt, session.afterFileSized));
}

}  // namespace scanner
