#pragma once
// The arithmetic behind the custom controls' shared drawing: rectangles, picture fitting and
// alignment, tiling, the banded colour gradient and frame stepping. Plain functions without
// any window-system type, so the widgets only paint what these decide and tests can check
// every rule directly.

#include <cstdint>
#include <string>
#include <vector>

namespace roviro {

// Edges as the windowing code uses them: right and bottom lie just outside the rectangle.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  bool operator==(const Size&) const = default;
};

inline Rect MakeRect(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
Rect Intersect(const Rect& a, const Rect& b);  // empty (0,0,0,0) when they do not overlap
Rect Offset(const Rect& r, int dx, int dy);
Rect Deflate(const Rect& r, int dx, int dy);
// Shrinks by per-side amounts held in a margins rectangle (left, top, right, bottom).
Rect Deflate(const Rect& r, const Rect& margins);

// Colours are 0x00BBGGRR words (red in the low byte), the layout the description files and
// the flag words use.
using Colour = std::uint32_t;
constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// Colour list entries: the value as a decimal number of at least eight digits ("%.8d").
std::string FormatColourEntry(Colour rgb);
// The entry read as a decimal number; magenta 0xFF00FF when `index` is out of range.
Colour ColourAt(const std::vector<std::string>& entries, int index);

// ---- pictures ----------------------------------------------------------------------------

// Draw mode flags of the picture holder; without 0x4 and 0x10 the picture is stretched.
inline constexpr std::uint32_t kDrawBlend = 0x1;
inline constexpr std::uint32_t kDrawKeyColour = 0x2;
inline constexpr std::uint32_t kDrawFit = 0x4;
inline constexpr std::uint32_t kDrawFill =
    0x8;  // with kDrawFit: fill the target and cut the excess
inline constexpr std::uint32_t kDrawNoScale = 0x10;
inline constexpr std::uint32_t kDrawCentreX = 0x20;
inline constexpr std::uint32_t kDrawCentreY = 0x40;
inline constexpr std::uint32_t kDrawRight = 0x80;
inline constexpr std::uint32_t kDrawBottom = 0x100;
inline constexpr std::uint32_t kDrawResample = 0x400;
inline constexpr std::uint32_t kDrawResampleSmooth = 0x800;

// Draw results of the picture holder.
enum PictureDrawResult : int {
  kDrawOk = 0,
  kDrawNothingLoaded = -1,
  kDrawNoPicture = -2,
  kDrawPictureTooSmall = -3,
  kDrawEmptyTarget = -4,
  kDrawEmptySource = -5,
};

struct PicturePlacement {
  int result = kDrawOk;  // a PictureDrawResult
  Rect target;           // where the picture ends up
  Rect source;           // the part of the picture shown there
};

// Decides where a picture of `pictureSize` is drawn: the source (empty = whole picture) is cut
// to the picture, then fitted (0x10 no scaling, 0x4 fit, 0x4|0x8 fill) and aligned
// (0x20/0x80 horizontally, 0x40/0x100 vertically) inside `target`. Without 0x4 and 0x10 the
// source is stretched over the whole target.
PicturePlacement PlacePicture(Size pictureSize, const Rect& target, const Rect& source,
                              std::uint32_t drawMode);

struct Tile {
  Rect target;  // where the tile goes, already cut at the area's edges
  Rect source;  // the part of the picture it shows (starts at 0, 0)
};

// Tiles `area` with a picture of `pictureSize`, row by row from the top-left corner; the last
// tile of a row and the tiles of the last row are cut at the area's edges.
std::vector<Tile> TileArea(const Rect& area, Size pictureSize);

// Frame stepping of the picture holder: moves by one, wrapping at the ends when `wrap`,
// otherwise staying at the first or last frame. `current` may lie outside 0..count-1 after a
// failed load; stepping then starts from the nearest end.
int StepFrame(int current, int count, bool forward, bool wrap);

// ---- gradient ----------------------------------------------------------------------------

struct ColourFill {
  Rect rect;
  Colour colour = 0;
  bool operator==(const ColourFill&) const = default;
};

// Band i of an n-colour gradient over `extent` pixels: [extent*i/(n-1), extent*(i+1)/(n-1)),
// the last band ending exactly at `extent`.
struct Span {
  int begin = 0;
  int end = 0;
  bool operator==(const Span&) const = default;
};
std::vector<Span> GradientBands(int extent, int colourCount);

// Number of steps from one colour to the next over `length` pixels: the largest channel
// difference, at most `length`, at least 1; always 1 on a display below 8 bits per pixel.
int GradientSteps(Colour from, Colour to, int length, int bitsPerPixel);

// The colour of step k of `steps`: each channel start + k*(end-start)/steps, truncated.
Colour GradientStepColour(Colour from, Colour to, int k, int steps);

// Every fill of the gradient over `area`: one colour fills the area, n colours make n-1
// bands of steps, top to bottom when `vertical`, else left to right. Nothing for an empty
// area or an empty list.
std::vector<ColourFill> PlanGradient(const Rect& area, const std::vector<Colour>& colours,
                                     bool vertical, int bitsPerPixel);

}  // namespace roviro
