#include "map/canvas.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace navmap {
namespace {

// The opaque bit of an ARGB32 pixel; an RGB24 image ignores it.
constexpr uint32_t kOpaque = 0xFF000000;

// colour * alpha + dst * (1 - alpha), each channel rounded. Red and blue
// are worked out together in the two halves of one word: neither half
// exceeds 16 bits at any step, so they never carry into each other.
uint32_t Mix(uint32_t dst, Rgb colour, uint32_t alpha) {
  constexpr uint32_t kRedBlue = 0x00FF00FF;
  constexpr uint32_t kHalf = 0x00800080;  // 128 in each half, for the rounding
  const uint32_t rest = 255 - alpha;
  // x / 255 rounded, for x up to 255 * 255, without a division, in each half.
  const auto divide = [](uint32_t x) { return ((x + ((x >> 8) & kRedBlue)) >> 8) & kRedBlue; };
  const uint32_t redBlue = divide((colour & kRedBlue) * alpha + (dst & kRedBlue) * rest + kHalf);
  const uint32_t green = divide(((colour >> 8) & 0xFF) * alpha + ((dst >> 8) & 0xFF) * rest + 128)
                         << 8;
  return kOpaque | redBlue | green;
}

// Blends one row of mask values over `count` pixels, as Mix does pixel by
// pixel (a value of 0 leaves a pixel as it was, 255 sets the colour).
// `roomPx` (at least `count`) pixels of the row may be read and written
// back unchanged.
void MixRow(uint32_t* pixels, const uint8_t* alpha, int count, [[maybe_unused]] int roomPx,
            Rgb colour) {
  int x = 0;
#if defined(__SSE2__)
  // Four pixels at a time, each channel in a 16-bit lane: the same sums
  // and the same rounding as Mix, none of them over 16 bits.
  const __m128i zero = _mm_setzero_si128();
  const __m128i colourLanes = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), zero);
  const __m128i full = _mm_set1_epi16(255);
  const __m128i half = _mm_set1_epi16(128);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(kOpaque));
  const auto blend = [&](__m128i dst, __m128i a) {
    const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(colourLanes, a),
                                                    _mm_mullo_epi16(dst, _mm_sub_epi16(full, a))),
                                      half);
    return _mm_srli_epi16(_mm_add_epi16(sum, _mm_srli_epi16(sum, 8)), 8);
  };
  const auto mixFour = [&](int at, uint32_t four) {
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + at));
    const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);
    const __m128i aPairs = _mm_unpacklo_epi16(a16, a16);
    const __m128i low = blend(_mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi32(aPairs, aPairs));
    const __m128i high = blend(_mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi32(aPairs, aPairs));
    const __m128i mixed = _mm_or_si128(_mm_packus_epi16(low, high), opaque);
    const __m128i untouched = _mm_cmpeq_epi32(_mm_unpacklo_epi16(a16, zero), zero);
    const __m128i result =
        _mm_or_si128(_mm_and_si128(untouched, dst), _mm_andnot_si128(untouched, mixed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + at), result);
  };
  for (; x + 4 <= count; x += 4) {
    uint32_t four = 0;
    std::memcpy(&four, alpha + x, sizeof four);
    if (four != 0) mixFour(x, four);
  }
  // A glyph's rows are a few pixels wide: their last pixels go four at a
  // time too, with no mask past the row's end, where the image has room.
  if (x < count && x + 4 <= roomPx) {
    uint32_t four = 0;
    for (int i = 0; x + i < count; ++i) four |= static_cast<uint32_t>(alpha[x + i]) << (8 * i);
    if (four != 0) mixFour(x, four);
    x = count;
  }
#endif
  for (; x < count; ++x) {
    const uint8_t a = alpha[x];
    if (a == 0) continue;
    pixels[x] = a == 255 ? (kOpaque | colour) : Mix(pixels[x], colour, a);
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
#define SKAT_WIDE_BLENDING 1
#define SKAT_AVX2 __attribute__((target("avx2"), always_inline)) inline

// colour * a + dst * (255 - a), rounded and divided by 255, in 16-bit lanes.
SKAT_AVX2 __m256i BlendLanes(__m256i colourLanes, __m256i dst, __m256i a) {
  const __m256i sum = _mm256_add_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(colourLanes, a),
                       _mm256_mullo_epi16(dst, _mm256_sub_epi16(_mm256_set1_epi16(255), a))),
      _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_srli_epi16(sum, 8)), 8);
}

// Eight pixels under the eight mask values of `eight`, the first in its
// lowest byte; a pixel under 0 keeps every byte it had.
SKAT_AVX2 void MixEight(uint32_t* pixels, uint64_t eight, __m256i colourLanes) {
  // Unpacking works within each half of a register: the low words hold
  // pixels 0, 1 and 4, 5, the high words 2, 3 and 6, 7; the shuffles spread
  // each pixel's alpha over its four channels to match.
  constexpr char kNone = static_cast<char>(0x80);
  const __m256i lowAlphas = _mm256_setr_epi8(
      0, kNone, 0, kNone, 0, kNone, 0, kNone, 1, kNone, 1, kNone, 1, kNone, 1, kNone,  //
      4, kNone, 4, kNone, 4, kNone, 4, kNone, 5, kNone, 5, kNone, 5, kNone, 5, kNone);
  const __m256i highAlphas = _mm256_setr_epi8(
      2, kNone, 2, kNone, 2, kNone, 2, kNone, 3, kNone, 3, kNone, 3, kNone, 3, kNone,  //
      6, kNone, 6, kNone, 6, kNone, 6, kNone, 7, kNone, 7, kNone, 7, kNone, 7, kNone);
  const __m256i zero = _mm256_setzero_si256();
  auto* where = reinterpret_cast<__m256i*>(pixels);
  const __m256i dst = _mm256_loadu_si256(where);
  const __m256i alphas = _mm256_set1_epi64x(static_cast<long long>(eight));
  const __m256i low = BlendLanes(colourLanes, _mm256_unpacklo_epi8(dst, zero),
                                 _mm256_shuffle_epi8(alphas, lowAlphas));
  const __m256i high = BlendLanes(colourLanes, _mm256_unpackhi_epi8(dst, zero),
                                  _mm256_shuffle_epi8(alphas, highAlphas));
  const __m256i mixed =
      _mm256_or_si256(_mm256_packus_epi16(low, high), _mm256_set1_epi32(static_cast<int>(kOpaque)));
  const __m256i untouched = _mm256_cmpeq_epi32(
      _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(eight))), zero);
  _mm256_storeu_si256(where, _mm256_blendv_epi8(mixed, dst, untouched));
}

// MixRow eight pixels at a time, for processors with AVX2: a glyph's rows
// are 6 to 12 pixels wide, so most take one or two steps instead of two or
// three. The same sums in the same 16-bit lanes give the same pixels.
__attribute__((target("avx2"))) void MixRowWide(uint32_t* pixels, const uint8_t* alpha, int count,
                                                int roomPx, Rgb colour) {
  const __m256i colourLanes =  // b g r 0, four times
      _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(colour)));
  int x = 0;
  for (; x + 8 <= count; x += 8) {
    uint64_t eight = 0;
    std::memcpy(&eight, alpha + x, sizeof eight);
    if (eight != 0) MixEight(pixels + x, eight, colourLanes);
  }
  // The last pixels of a row eight at a time too, with no mask past the
  // row's end, where the image has room; else as MixRow does them.
  if (x < count && x + 8 <= roomPx) {
    uint64_t eight = 0;
    for (int i = 0; x + i < count; ++i) eight |= static_cast<uint64_t>(alpha[x + i]) << (8 * i);
    if (eight != 0) MixEight(pixels + x, eight, colourLanes);
    return;
  }
  if (x < count) MixRow(pixels + x, alpha + x, count - x, roomPx - x, colour);
}

bool WideBlendingAvailable() {
  static const bool available = __builtin_cpu_supports("avx2") != 0;
  return available;
}
#endif

std::atomic<bool> wideBlendingWanted{true};

}  // namespace

// Sets `count` pixels from `pixels` on to `value`, sixteen bytes to a
// store once aligned: a fill of the whole image is bound by memory, not by
// a store per pixel.
void FillPixels(uint32_t* pixels, int count, uint32_t value) {
  int x = 0;
#if defined(__SSE2__)
  for (; x < count && reinterpret_cast<uintptr_t>(pixels + x) % 16 != 0; ++x) pixels[x] = value;
  const __m128i four = _mm_set1_epi32(static_cast<int>(value));
  for (; x + 16 <= count; x += 16) {
    auto* at = reinterpret_cast<__m128i*>(pixels + x);
    _mm_store_si128(at, four);
    _mm_store_si128(at + 1, four);
    _mm_store_si128(at + 2, four);
    _mm_store_si128(at + 3, four);
  }
  for (; x + 4 <= count; x += 4) _mm_store_si128(reinterpret_cast<__m128i*>(pixels + x), four);
#endif
  for (; x < count; ++x) pixels[x] = value;
}

Canvas::Canvas(cairo_surface_t* surface)
    : surface_(surface),
      context_(cairo_create(surface)),
      widthPx_(cairo_image_surface_get_width(surface)),
      heightPx_(cairo_image_surface_get_height(surface)),
      data_(cairo_image_surface_get_data(surface)),
      strideBytes_(cairo_image_surface_get_stride(surface)) {
  if (data_ == nullptr) widthPx_ = heightPx_ = 0;
}

Canvas::~Canvas() {
  Finish();
  cairo_destroy(context_);
}

bool Canvas::Ok() const {
  return cairo_status(context_) == CAIRO_STATUS_SUCCESS && data_ != nullptr;
}

void Canvas::Finish() {
  if (pixelsTaken_) cairo_surface_mark_dirty(surface_);
  pixelsTaken_ = false;
}

cairo_t* Canvas::Cairo() {
  Finish();
  return context_;
}

uint32_t* Canvas::Row(int y) {
  if (!pixelsTaken_) {
    cairo_surface_flush(surface_);
    pixelsTaken_ = true;
  }
  return reinterpret_cast<uint32_t*>(data_ + static_cast<std::ptrdiff_t>(y) * strideBytes_);
}

void Canvas::SetColour(Rgb colour) {
  cairo_set_source_rgb(Cairo(), ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                       (colour & 0xFF) / 255.0);
}

void Canvas::Fill(Rgb colour) {
  for (int y = 0; y < heightPx_; ++y) FillPixels(Row(y), widthPx_, kOpaque | colour);
}

void Canvas::Run(int y, int left, int right, Rgb colour) {
  if (y < 0 || y >= heightPx_) return;
  left = std::max(0, left);
  right = std::min(widthPx_, right);
  if (left < right) FillPixels(Row(y) + left, right - left, kOpaque | colour);
}

void Canvas::Square(int x, int y, int sizePx, Rgb colour) {
  const int left = std::max(0, x);
  const int right = std::min(widthPx_, x + sizePx);
  for (int row = std::max(0, y); row < std::min(heightPx_, y + sizePx); ++row) {
    if (left < right) std::fill(Row(row) + left, Row(row) + right, kOpaque | colour);
  }
}

void Canvas::Stamp(int x, int y, std::span<const PixelOffset> pixels, Rgb colour) {
  // An offset reaches at most 128 pixels from (x, y): a stamp that far
  // inside the image, as nearly all are, needs no test pixel by pixel.
  constexpr int kReachPx = 128;
  if (x < kReachPx || y < kReachPx || x >= widthPx_ - kReachPx || y >= heightPx_ - kReachPx) {
    for (const PixelOffset offset : pixels)
      SetPixel(x + offset.dx, y + offset.dy, kOpaque | colour);
    return;
  }
  uint32_t* const centre = Row(y) + x;
  const std::ptrdiff_t stridePx = strideBytes_ / static_cast<int>(sizeof(uint32_t));
  for (const PixelOffset offset : pixels)
    centre[offset.dy * stridePx + offset.dx] = kOpaque | colour;
}

void Canvas::Mask(int left, int top, int widthPx, int heightPx, const uint8_t* alpha, Rgb colour) {
  // The part of the mask inside the image.
  const int firstX = std::max(0, -left);
  const int lastX = std::min(widthPx, widthPx_ - left);
  const int firstY = std::max(0, -top);
  const int lastY = std::min(heightPx, heightPx_ - top);
  if (firstX >= lastX) return;
  auto* mixRow = &MixRow;
#if defined(SKAT_WIDE_BLENDING)
  if (WideBlendingAvailable() && wideBlendingWanted.load(std::memory_order_relaxed)) {
    mixRow = &MixRowWide;
  }
#endif
  for (int y = firstY; y < lastY; ++y) {
    const uint8_t* maskRow = alpha + static_cast<std::ptrdiff_t>(y) * widthPx;
    mixRow(Row(top + y) + left + firstX, maskRow + firstX, lastX - firstX, widthPx_ - left - firstX,
           colour);
  }
}

void Canvas::Text(int x, int baselineY, std::string_view text, const GlyphAtlas& atlas, Rgb colour,
                  Rgb haloColour) {
  // Every halo first, so that no halo covers a neighbouring glyph.
  int penX = x;
  for (const char c : text) {
    const Glyph& glyph = atlas.Of(static_cast<uint8_t>(c));
    if (glyph.widthPx > 0) {
      Mask(penX + glyph.left - 1, baselineY + glyph.top - 1, glyph.widthPx + 2, glyph.heightPx + 2,
           atlas.Masks() + glyph.haloAt, haloColour);
    }
    penX += glyph.advancePx;
  }
  penX = x;
  for (const char c : text) {
    const Glyph& glyph = atlas.Of(static_cast<uint8_t>(c));
    if (glyph.widthPx > 0) {
      Mask(penX + glyph.left, baselineY + glyph.top, glyph.widthPx, glyph.heightPx,
           atlas.Masks() + glyph.maskAt, colour);
    }
    penX += glyph.advancePx;
  }
}

void SetWideBlending(bool wanted) {
  wideBlendingWanted.store(wanted, std::memory_order_relaxed);
}

}  // namespace navmap
