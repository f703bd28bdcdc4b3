// Packed scenery files: the scenery header in the clear, then a block
// header and a 'J' stream that decodes to the rest of the image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace scanner {

// What an unpack came to; the values are the numbers `skat-cli unpack`
// prints.
enum class UnpackStatus {
  Ok = 0,
  NoOutput = 1,
  NotPacked = 2,
  NoMemory = 4,
  WrongLength = 8,
  BadCheckValue = 16,
  StreamFailed = 32,
  FileFailed = 64,
};

inline constexpr uint32_t kBlockMark = 0xABCDEF01;
inline constexpr size_t kPlainHeaderSize = 128;
inline constexpr size_t kExtendedHeaderSize = 168;
inline constexpr size_t kBlockHeaderSize = 20;
// An unpacked image larger than this is refused as out of memory: no real
// scenery file comes near it. Below it the image gets exactly the size its
// block header declares; a stream can legitimately shrink long runs of
// equal bytes far below any fixed ratio, so the packed size is no bound.
inline constexpr uint64_t kMaxUnpackedBytes = uint64_t{256} << 20;
// Scenery files are read whole into memory; a larger file is refused.
inline constexpr size_t kMaxSceneryFileBytes = size_t{256} << 20;

struct UnpackedImage {
  std::unique_ptr<uint8_t[]> bytes;
  size_t size = 0;
  std::span<const uint8_t> View() const { return {bytes.get(), size}; }
};

// The header size H of a packed file, or 0 when the file is not laid out as
// one (extended header naming sections that a packed file cannot have, or
// no block mark).
size_t PackedHeaderSize(std::span<const uint8_t> file);

// Unpacks the bytes of a packed file into `image`. On a status other than
// UnpackStatus::Ok the image is left empty.
UnpackStatus UnpackBglBytes(std::span<const uint8_t> file, UnpackedImage* image);

// Reads `path` into memory and unpacks it.
UnpackStatus UnpackBglFile(const std::filesystem::path& path, UnpackedImage* image);

// Frees the image; 1 (and nothing done) when it holds nothing.
int ReleaseUnpackedImage(UnpackedImage& image);

// Text for a status code, for the command line.
std::string UnpackStatusText(UnpackStatus status);

}  // namespace scanner
