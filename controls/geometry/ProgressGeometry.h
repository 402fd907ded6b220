#pragma once
// The progress bar's and the static's decisions without any window-system type: caption text,
// bar and block rectangles, the shaded fill, animation steps and the static's text placement.

#include <cstdint>
#include <string>
#include <vector>

#include "controls/geometry/ControlGeometry.h"

namespace roviro {

// Progress bits in the shared flag word (besides bit 0).
inline constexpr std::uint32_t kProgressBounce = 0x80000;
inline constexpr std::uint32_t kProgressCaptionInBarArea =
    0x200000;  // caption centred in the bar area instead of the client
inline constexpr std::uint32_t kProgressCaptionAtEdge =
    0x400000;  // caption placed just inside the bar's leading edge
inline constexpr std::uint32_t kProgressCaptionAtStart =
    0x800000;  // caption at the start of the bar area
inline constexpr std::uint32_t kProgressStretch = 0x1000000;
inline constexpr std::uint32_t kProgressShadeAlong = 0x2000000;
inline constexpr std::uint32_t kProgressSolid = 0x8000000;
inline constexpr std::uint32_t kProgressCaption = 0x10000000;
inline constexpr std::uint32_t kProgressFlag29 = 0x20000000;
inline constexpr std::uint32_t kProgressReversed = 0x40000000;
inline constexpr std::uint32_t kProgressBlock = 0x80000000;

inline constexpr std::uint32_t kMotionBackwards = 0x1;
inline constexpr std::uint32_t kMotionFlag1 = 0x2;

inline constexpr int kMinimumInterval = 20;
int LimitInterval(int interval);        // at least 20
int LimitStep(int step);                // 0 and below become 1
int LimitBlockLength(int blockLength);  // 0 and below become 1

// The template with "%a" replaced by the percentage, "%b" by the position and then every
// "% " by "%"; empty unless minimum < maximum.
std::string ProgressCaption(const std::string& captionTemplate, int minimum, int maximum,
                            int position);

struct ProgressBarInput {
  Rect area;  // client rectangle shrunk by the insets
  int minimum = 0;
  int maximum = 100;
  int position = 0;
  bool vertical = false;
  std::uint32_t flags = 0;
  std::uint32_t motion = 0;
  int blockLength = 40;
};

// The bar (or the moving block) cut to the bar area; empty unless minimum < maximum.
Rect ProgressBarRect(const ProgressBarInput& in);

// The two-colour shaded fill of the bar, already cut to the bar. Without 0x2000000 the shade
// runs across the bar from colour 3 to colour 4; with it the shade runs along the bar from
// colour 4 where the bar starts to colour 3 at its moving edge. With 0x1000000 it spans the
// bar only, otherwise the whole bar area.
std::vector<ColourFill> PlanProgressShade(const ProgressBarInput& in, const Rect& bar,
                                          Colour colour3, Colour colour4, int bitsPerPixel);

// Where the caption of `text` size goes (centred in the client unless bits 21 to 23 say
// otherwise).
Rect ProgressCaptionRect(const Rect& client, const ProgressBarInput& in, const Rect& bar,
                         Size text);

// One tick of the animation: the next position, flipping motion bit 0 when it bounces.
int NextAnimationPosition(int position, int minimum, int maximum, int step, bool bounce,
                          std::uint32_t* motion);

// ---- static ------------------------------------------------------------------------------

// Window style bits of the static that shape its text.
inline constexpr std::uint32_t kStyleCentre = 0x1;
inline constexpr std::uint32_t kStyleRight = 0x2;
inline constexpr std::uint32_t kStyleNoPrefix = 0x80;
inline constexpr std::uint32_t kStyleCentreImage = 0x200;
inline constexpr std::uint32_t kStyleEndEllipsis = 0x4000;
inline constexpr std::uint32_t kStylePathEllipsis = 0x8000;
inline constexpr std::uint32_t kStyleWordEllipsis = 0xC000;

inline constexpr std::uint32_t kStaticDefaultOptions = 0x13D2;
inline constexpr std::uint32_t kStaticMultiLine = 0x40;
inline constexpr std::uint32_t kStaticCentreVertically = 0x1000;

// Measuring options of the text layout routine from textOptions 0x40/0x80/0x100/0x200.
int StaticMeasureOptions(std::uint32_t textOptions);

enum class Ellipsis { kNone, kWord, kEnd, kPath };

// The text drawing format taken from the window style and the text options.
struct StaticTextFormat {
  bool right = false;       // SS_RIGHT
  bool centre = false;      // SS_CENTER
  bool vCentre = false;     // SS_CENTERIMAGE (also single line)
  bool noPrefix = false;    // SS_NOPREFIX
  bool singleLine = false;  // SS_CENTERIMAGE, or textOptions without 0x40
  bool wordBreak = false;   // unless the style has any of the bits 0xC20C
  Ellipsis ellipsis = Ellipsis::kNone;
};
StaticTextFormat MakeStaticTextFormat(std::uint32_t style, std::uint32_t textOptions);

// The text rectangle: measured size at the client's top-left corner, cut to the client, moved
// down by half the spare height with 0x1000, right by half the spare width with SS_CENTER and
// by all of it with SS_RIGHT.
Rect StaticTextRect(const Rect& client, Size text, std::uint32_t textOptions, std::uint32_t style);

}  // namespace roviro
