#include "xplane/row_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "platform/text_lines.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::TempFolder;

struct Lines {
  std::vector<std::string> texts;
  std::vector<bool> cut;
  xplane::LineHandler Handler() {
    return [this](std::string_view line, bool wasCut) {
      texts.emplace_back(line);
      cut.push_back(wasCut);
    };
  }
};

std::string Gzipped(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size())) + 32;
  std::string out(size, '\0');
  z_stream stream{};
  deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);  // gzip wrapper
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

TEST(RowReader, PiecesSplitAnywhereGiveTheLinesOfTheWhole) {
  // Every line end in every place a read can split it: a CR LF torn in two
  // is still one line end, a CR CR two.
  const std::string text = "a\rb\nc\r\nd\r\r\ne\r\r\n\nf";
  std::vector<std::string> whole;
  platform::ForEachTextLine(text, [&](size_t, std::string_view line) {
    whole.emplace_back(line);
    return true;
  });
  ASSERT_EQ(whole, (std::vector<std::string>{"a", "b", "c", "d", "", "e", "", "", "f"}));
  for (size_t first = 0; first <= text.size(); ++first) {
    for (size_t second = first; second <= text.size(); ++second) {
      Lines lines;
      const xplane::LineHandler handler = lines.Handler();
      xplane::ChunkedLines chunked(handler);
      chunked.Feed(std::string_view(text).substr(0, first));
      chunked.Feed(std::string_view(text).substr(first, second - first));
      chunked.Feed(std::string_view(text).substr(second));
      chunked.Finish();
      ASSERT_EQ(lines.texts, whole) << first << " " << second;
    }
  }
}

TEST(RowReader, AnEndlessLineKeepsOnlyItsStart) {
  // 20 MB without a line end, read 64 KB at a time: the line is handed on
  // once, cut to its first kMaxRowBytes bytes, and the next line is whole.
  TempFolder folder;
  const std::string endless = "2 " + std::string(20 << 20, '9');
  folder.Write("nav.dat", endless + "\r\nnext\r\nlast");
  Lines lines;
  ASSERT_TRUE(xplane::ForEachLine(folder / "nav.dat", lines.Handler()));
  ASSERT_EQ(lines.texts.size(), 3u);
  EXPECT_EQ(lines.texts[0], endless.substr(0, xplane::kMaxRowBytes));
  EXPECT_EQ(lines.texts[1], "next");
  EXPECT_EQ(lines.texts[2], "last");
  EXPECT_EQ(lines.cut, (std::vector<bool>{true, false, false}));
  // A line of exactly the limit is whole.
  folder.Write("nav.dat", std::string(xplane::kMaxRowBytes, 'x'));
  Lines exact;
  ASSERT_TRUE(xplane::ForEachLine(folder / "nav.dat", exact.Handler()));
  EXPECT_EQ(exact.cut, std::vector<bool>{false});
}

TEST(RowReader, DamagedOrTruncatedGzipFilesFailWithZlibsReason) {
  TempFolder folder;
  std::string rows;
  for (int i = 0; i < 20000; ++i)
    rows += "2 50.0 8.0 0 352 25 0.0 ABC NDB " + std::to_string(i) + "\n";
  const std::string packed = Gzipped(rows);
  folder.Write("whole.dat.gz", packed);
  Lines whole;
  ASSERT_TRUE(xplane::ForEachLine(folder / "whole.dat.gz", whole.Handler()));
  EXPECT_EQ(whole.texts.size(), 20000u);

  // Cut anywhere after the header: zlib's own words, whatever was read before.
  for (size_t keep : {packed.size() - 1, packed.size() - 8, packed.size() / 2, size_t{20}}) {
    SCOPED_TRACE(keep);
    folder.Write("cut.dat.gz", packed.substr(0, keep));
    Lines cut;
    EXPECT_EQ(xplane::ForEachLine(folder / "cut.dat.gz", cut.Handler()).error().message,
              "unexpected end of file");
  }
  // A changed byte in the checksum of the whole.
  std::string damaged = packed;
  damaged[damaged.size() - 6] ^= 0x55;
  folder.Write("damaged.dat.gz", damaged);
  Lines bad;
  EXPECT_EQ(xplane::ForEachLine(folder / "damaged.dat.gz", bad.Handler()).error().message,
            "incorrect data check");
}

}  // namespace
