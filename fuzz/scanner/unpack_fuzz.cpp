// Arbitrary files given to the packed-file decoder, then the unpacked image
// to the image decoder.
#include <cstddef>
#include <cstdint>

#include "scanner/bgl_decoder.h"
#include "scanner/packed_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scanner::UnpackedImage image;
  if (scanner::UnpackBglBytes({data, size}, &image) != scanner::UnpackStatus::Ok) {
    if (image.bytes) __builtin_trap();  // a failure leaves no image
    return 0;
  }
  navdb::Database db;
  scanner::ScanReporter ui;
  scanner::ScanSession session{db, ui};
  scanner::ScanBglImage(session, image.View());
  scanner::ReleaseUnpackedImage(image);
  return 0;
}
