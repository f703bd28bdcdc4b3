#include "scanner/packed_file.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/file_bytes.h"
#include "scanner/bgl_decoder.h"
#include "scanner/jstream.h"

namespace scanner {
namespace {

uint32_t ReadU32(std::span<const uint8_t> bytes, size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
  uint32_t value;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

}  // namespace

size_t PackedHeaderSize(std::span<const uint8_t> file) {
  size_t header = kPlainHeaderSize;
  if (ReadU32(file, kHeaderExtendedMark) == kExtendedHeaderMark) {
    for (size_t field : {size_t{54}, size_t{156}, size_t{160}, size_t{164}}) {
      if (ReadU32(file, field) != 0) return 0;
    }
    header = kExtendedHeaderSize;
  }
  if (file.size() < header + kBlockHeaderSize || ReadU32(file, header) != kBlockMark) return 0;
  return header;
}

UnpackStatus UnpackBglBytes(std::span<const uint8_t> file, UnpackedImage* image) {
  if (image == nullptr) return UnpackStatus::NoOutput;
  *image = UnpackedImage{};
  const size_t header = PackedHeaderSize(file);
  if (header == 0) return UnpackStatus::NotPacked;
  const uint64_t unpackedLength = ReadU32(file, header + 4);
  if (header + unpackedLength > kMaxUnpackedBytes) return UnpackStatus::NoMemory;
  const size_t total = header + static_cast<size_t>(unpackedLength);
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[total]);
  if (!bytes) return UnpackStatus::NoMemory;
  std::memcpy(bytes.get(), file.data(), header);
  std::memset(bytes.get() + 122, 0, 4);
  const long decoded = DecodeJStream(file.subspan(header + kBlockHeaderSize),
                                     {bytes.get() + header, static_cast<size_t>(unpackedLength)});
  if (decoded < 0) return UnpackStatus::StreamFailed;
  if (static_cast<uint64_t>(decoded) != unpackedLength) return UnpackStatus::WrongLength;
  if (ReadU32(file, header + 8) != 0) return UnpackStatus::BadCheckValue;
  image->bytes = std::move(bytes);
  image->size = total;
  return UnpackStatus::Ok;
}

UnpackStatus UnpackBglFile(const std::filesystem::path& path, UnpackedImage* image) {
  if (image == nullptr) return UnpackStatus::NoOutput;
  *image = UnpackedImage{};
  const platform::Result<std::vector<uint8_t>, platform::ReadError> file =
      platform::ReadFileBytes(path, kMaxSceneryFileBytes);
  if (!file) return UnpackStatus::FileFailed;
  return UnpackBglBytes(*file, image);
}

int ReleaseUnpackedImage(UnpackedImage& image) {
  if (!image.bytes || image.size == 0) return 1;
  image = UnpackedImage{};
  return 0;
}

std::string UnpackStatusText(UnpackStatus status) {
  switch (status) {
    case UnpackStatus::Ok:
      return "success";
    case UnpackStatus::NoOutput:
      return "an output parameter cannot be written";
    case UnpackStatus::NotPacked:
      return "not a packed file";
    case UnpackStatus::NoMemory:
      return "no memory for the image";
    case UnpackStatus::WrongLength:
      return "the stream decoded to a length other than the unpacked length";
    case UnpackStatus::BadCheckValue:
      return "the check value is not 0";
    case UnpackStatus::StreamFailed:
      return "the stream decoder failed";
    case UnpackStatus::FileFailed:
      return "opening, sizing or mapping the file failed";
    default:
      return "unknown status";
  }
}

}  // namespace scanner
