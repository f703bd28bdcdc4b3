// One-pixel lines without antialiasing, as the display draws runways and
// localizers, each pixel as a Cairo stroke of the line on its own sets it.
// A stroke costs about a microsecond, mostly for itself, not its pixels,
// so a straight line well inside the image sets the pixels of Cairo's scan
// conversion of its rectangle directly, and the other lines gather into
// few strokes. A stroke fills the union of its lines (closing one-pixel
// gaps between them), so lines whose pixels could meet go in separate
// strokes; and Cairo cuts a stroke at the image's edges in a way that
// depends on the whole stroke, so a line that reaches an edge goes alone.
#pragma once

#include <span>
#include <vector>

#include "map/canvas.h"

namespace navmap {

struct Pixel {
  int x = 0;
  int y = 0;
};

class CrispLines {
 public:
  explicit CrispLines(Canvas& canvas) : canvas_(canvas) {}
  ~CrispLines() { Stroke(); }
  CrispLines(const CrispLines&) = delete;
  CrispLines& operator=(const CrispLines&) = delete;

  // A line through the centres of `points`, joined at each, in `colour`.
  // It reaches the image at the latest by the next Stroke().
  void Add(std::span<const Pixel> points, Rgb colour);
  // The same for a line whose pixels as Cairo strokes it on its own are
  // known, about `at`: well inside the image they are set straight away.
  void AddStroked(std::span<const Pixel> points, Pixel at, std::span<const PixelOffset> pixels,
                  Rgb colour);
  // Strokes every line gathered so far; before the canvas takes anything
  // that may cover them.
  void Stroke();

 private:
  // The box about a line's points that holds every pixel it sets.
  struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
  };
  // Lines waiting for one stroke.
  struct Gathered {
    std::vector<Pixel> points;
    std::vector<size_t> ends;  // past each line's last point in `points`
    std::vector<Box> boxes;
  };

  void Stroke(Gathered& lines);
  // Strokes what was gathered in another colour than `colour`.
  void TakeColour(Rgb colour);
  // The box about the line's points that holds every pixel it sets.
  static Box BoxAbout(std::span<const Pixel> points);
  bool WellInside(const Box& box) const;

  Canvas& canvas_;
  Rgb colour_ = 0;
  Gathered gathered_;
  Gathered alone_;  // a line stroked as soon as it comes
};

}  // namespace navmap
