// Arbitrary bytes as a nav.dat, apt.dat or fix.dat file read the way
// import-navdata reads one: through zlib, from a file, in chunks. The first
// byte picks the file kind and whether the rest is taken as the file itself
// (a gzip stream, whole or damaged, or plain text) or packed here into a
// gzip stream first and then cut at the point the second byte picks, so that
// well-formed streams of any text and streams cut anywhere are both read.
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scanner/navdata_import.h"
#include "xplane/navdata_reader.h"

namespace {

std::string Gzipped(const uint8_t* data, size_t size) {
  std::string out(compressBound(static_cast<uLong>(size)) + 64, '\0');
  z_stream stream{};
  if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) std::abort();
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// One file in memory for the whole run, reached by a path as zlib needs.
const std::string& FilePath(int& fd) {
  static int file = memfd_create("navdata", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(file);
  fd = file;
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int fd = -1;
  const std::string& path = FilePath(fd);
  if (fd < 0) std::abort();
  const bool packHere = (data[0] / 3) % 2 == 1;
  std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  bool cutShort = false;
  if (packHere) {
    bytes = Gzipped(data + 2, size - 2);
    if (data[1] != 0) {
      bytes.resize(bytes.size() * data[1] / 256);
      // Without its two magic bytes a file is plain text to zlib.
      cutShort = bytes.size() >= 2;
    }
  }
  if (ftruncate(fd, 0) != 0 ||
      pwrite(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
    std::abort();
  }
  xplane::NavData navData;
  const platform::Status read = data[0] % 3 == 0   ? xplane::ReadNavFile(path, navData)
                                : data[0] % 3 == 1 ? xplane::ReadAirportFile(path, navData)
                                                   : xplane::ReadFixFile(path, navData);
  // A stream cut short is never taken for a whole one.
  if (cutShort && read.ok()) std::abort();
  if (!read) return 0;
  navdb::Database db;
  scanner::ScanReporter ui;
  scanner::ScanSession session{db, ui};
  scanner::MergeNavData(session, navData);
  return 0;
}
